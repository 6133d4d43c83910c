#include "client/quickviews.h"

#include "client/filtersets.h"
#include "widgets/engineerror.h"

namespace nimbra {

namespace {

using Set = lindor::ComPtr<lindor::IBugFilterSet>;

bool AddEqual(lindor::IBugFilterSet* set, const QString& field, const lindor::Variant& value)
{
    const lindor::ComPtr<lindor::IBugFilter> condition =
        FilterSets::makeCondition({field, lindor::Equal, value, lindor::LogOr});
    return condition && set->Add(condition.get()) == lindor::S_OK;
}

// One condition per classification the user is assigned to in the project.
bool AddClassifications(lindor::IExeContext* context, lindor::IBugFilterSet* set)
{
    std::int32_t user = 0;
    std::int32_t project = 0;
    lindor::ComPtr<lindor::IClassificationSet> classes;
    if (context->get_CurUserID(&user) != lindor::S_OK ||
        context->get_ActiveProjectID(&project) != lindor::S_OK ||
        context->GetUserClassification(user, project, classes.put()) != lindor::S_OK)
        return false;
    std::int32_t count = 0;
    if (classes && classes->get_Count(&count) != lindor::S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IClassification> item;
        std::string name;
        if (classes->get_Item(i, item.put()) != lindor::S_OK ||
            item->get_Name(&name) != lindor::S_OK ||
            !AddEqual(set, QStringLiteral("Classification"), lindor::Variant::Text(name)))
            return false;
    }
    return true;
}

}  // namespace

bool QuickViews::build(lindor::IExeContext* context, double today, std::vector<Set>* views,
                       QString* error)
{
    const Set mine = FilterSets::make(QStringLiteral("My Bugs/Feature"));
    const Set todays = FilterSets::make(QStringLiteral("Today's Bug/Feature"));
    const Set resolved = FilterSets::make(QStringLiteral("Resolved"));
    const Set verified = FilterSets::make(QStringLiteral("Verified"));
    if (!mine || !todays || !resolved || !verified) {
        *error = EngineError::text();
        return false;
    }
    // Each view gets what can be read, whatever failed before it; the first
    // failure is the one reported.
    bool whole = true;
    auto note = [&](bool made) {
        if (!made && whole) *error = EngineError::text();
        whole = whole && made;
    };
    note(AddClassifications(context, mine.get()));
    note(AddEqual(todays.get(), QStringLiteral("ReportedDate"), lindor::Variant::Date(today)));
    note(AddEqual(resolved.get(), QStringLiteral("StatusName"), lindor::Variant::Text("Resolved")));
    note(AddEqual(verified.get(), QStringLiteral("StatusName"), lindor::Variant::Text("Verified")));
    *views = {mine, todays, resolved, verified};
    return whole;
}

}  // namespace nimbra
