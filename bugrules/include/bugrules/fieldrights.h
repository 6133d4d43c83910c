// Which flag of a user's rights in a project lets him change which field of
// a bug.
#pragma once

#include <lindor/lindor.h>

namespace bugrules {

enum class EditableField {
    Type,
    Description,
    Priority,
    Severity,
    Reproductive,
    Classification,
    ReportedInVersion,
    ReportedDate,
    FixedInVersion,
    FixedDate,
    VerifiedDate,
    DateDue,
    EstimatedTime,
    Report,
    RecreateStep,
    Workaround,
    Resolution,
    Attachment
};

using RightFlag = lindor::HRESULT (lindor::IRight::*)(std::int32_t*);

RightFlag EditRightOf(EditableField field);

// False without a right, or when the right cannot be read.
bool MayEdit(lindor::IRight* right, EditableField field);

}  // namespace bugrules
