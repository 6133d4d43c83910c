#include "client/filtersets.h"

namespace nimbra {

lindor::ComPtr<lindor::IBugFilterSet> FilterSets::make(const QString& name)
{
    lindor::ComPtr<lindor::IBugFilterSet> set;
    if (lindor::CreateObject("Lindor.BugFilterSet.1", set.put()) != lindor::S_OK || !set ||
        set->put_Name(name.toStdString()) != lindor::S_OK)
        return nullptr;
    return set;
}

lindor::ComPtr<lindor::IBugFilter> FilterSets::makeJoined(lindor::eLogOperation andOr)
{
    lindor::ComPtr<lindor::IBugFilter> filter;
    if (lindor::CreateObject("Lindor.BugFilter.1", filter.put()) != lindor::S_OK || !filter ||
        filter->put_AndOr(andOr) != lindor::S_OK)
        return nullptr;
    return filter;
}

lindor::ComPtr<lindor::IBugFilter> FilterSets::makeCondition(const Condition& condition)
{
    lindor::ComPtr<lindor::IBugFilter> filter = makeJoined(condition.andOr);
    if (!filter || !store(filter.get(), condition)) return nullptr;
    return filter;
}

bool FilterSets::store(lindor::IBugFilter* filter, const Condition& condition)
{
    return filter->put_Field(condition.field.toStdString()) == lindor::S_OK &&
           filter->put_Condition(condition.condition) == lindor::S_OK &&
           filter->put_Value(condition.value) == lindor::S_OK &&
           filter->put_AndOr(condition.andOr) == lindor::S_OK;
}

bool FilterSets::read(lindor::IBugFilter* filter, Condition* condition)
{
    std::string field;
    if (filter->get_Field(&field) != lindor::S_OK ||
        filter->get_Condition(&condition->condition) != lindor::S_OK ||
        filter->get_Value(&condition->value) != lindor::S_OK ||
        filter->get_AndOr(&condition->andOr) != lindor::S_OK)
        return false;
    condition->field = QString::fromStdString(field);
    return true;
}

lindor::ComPtr<lindor::IBugFilterSet> FilterSets::copy(lindor::IBugFilterSet* set)
{
    lindor::ComPtr<lindor::IBugFilterSet> copied = make(name(set));
    if (!copied) return nullptr;
    const int conditions = count(set);
    for (int i = 0; i < conditions; ++i) {
        const lindor::ComPtr<lindor::IBugFilter> source = item(set, i);
        Condition condition;
        if (!source || !read(source.get(), &condition)) return nullptr;
        const lindor::ComPtr<lindor::IBugFilter> target = makeCondition(condition);
        if (!target || copied->Add(target.get()) != lindor::S_OK) return nullptr;
    }
    return copied;
}

lindor::ComPtr<lindor::IBugFilter> FilterSets::item(lindor::IBugFilterSet* set, int index)
{
    lindor::ComPtr<lindor::IBugFilter> filter;
    if (set->get_Item(index, filter.put()) != lindor::S_OK) return nullptr;
    return filter;
}

int FilterSets::count(lindor::IBugFilterSet* set)
{
    std::int32_t count = 0;
    if (set == nullptr || set->get_Count(&count) != lindor::S_OK) return 0;
    return count;
}

QString FilterSets::name(lindor::IBugFilterSet* set)
{
    std::string name;
    if (set != nullptr) set->get_Name(&name);
    return QString::fromStdString(name);
}

}  // namespace nimbra
