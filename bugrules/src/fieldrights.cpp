#include "bugrules/fieldrights.h"

namespace bugrules {

RightFlag EditRightOf(EditableField field)
{
    using lindor::IRight;
    switch (field) {
        case EditableField::Type:
            return &IRight::get_EditType;
        case EditableField::Description:
            return &IRight::get_EditDescription;
        case EditableField::Priority:
            return &IRight::get_EditPriority;
        case EditableField::Severity:
            return &IRight::get_EditSeverity;
        case EditableField::Reproductive:
            return &IRight::get_EditReproductive;
        case EditableField::Classification:
            return &IRight::get_EditClass;
        case EditableField::ReportedInVersion:
            return &IRight::get_EditReportedInVersion;
        case EditableField::ReportedDate:
            return &IRight::get_EditReportedDate;
        case EditableField::FixedInVersion:
            return &IRight::get_EditFixedInVersion;
        case EditableField::FixedDate:
            return &IRight::get_EditFixedDate;
        case EditableField::VerifiedDate:
            return &IRight::get_EditVerifiedDate;
        case EditableField::DateDue:
            return &IRight::get_EditDateDue;
        case EditableField::EstimatedTime:
            return &IRight::get_EditEstimatedTime;
        case EditableField::Report:
            return &IRight::get_EditReport;
        case EditableField::RecreateStep:
            return &IRight::get_EditRecreateStep;
        case EditableField::Workaround:
            return &IRight::get_EditWorkAround;
        case EditableField::Resolution:
            return &IRight::get_EditResolution;
        case EditableField::Attachment:
            return &IRight::get_EditAttachment;
    }
    return nullptr;
}

bool MayEdit(lindor::IRight* right, EditableField field)
{
    std::int32_t value = 0;
    const RightFlag flag = EditRightOf(field);
    return right != nullptr && flag != nullptr && (right->*flag)(&value) == lindor::S_OK &&
           value != 0;
}

}  // namespace bugrules
