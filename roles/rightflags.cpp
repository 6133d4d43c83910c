#include "roles/rightflags.h"

namespace roles {

namespace {

using Getter = lindor::HRESULT (lindor::IRight::*)(std::int32_t*);
using Setter = lindor::HRESULT (lindor::IRight::*)(std::int32_t);

struct Accessors {
    RightFlag flag;
    const char* name;
    Getter get;
    Setter put;
};

#define ROLES_RIGHT(name)                                                                \
    {                                                                                    \
        RightFlag::name, #name, &lindor::IRight::get_##name, &lindor::IRight::put_##name \
    }

// In the order of the RightFlag values, checked below.
constexpr std::array<Accessors, RightFlags::kCount> kAccessors = {{
    ROLES_RIGHT(Add),
    ROLES_RIGHT(Read),
    ROLES_RIGHT(Delete),
    ROLES_RIGHT(EditType),
    ROLES_RIGHT(EditClass),
    ROLES_RIGHT(EditPriority),
    ROLES_RIGHT(EditSeverity),
    ROLES_RIGHT(EditReproductive),
    ROLES_RIGHT(EditReportedInPrj),
    ROLES_RIGHT(EditReportedInVersion),
    ROLES_RIGHT(EditReportedDate),
    ROLES_RIGHT(EditFixedDate),
    ROLES_RIGHT(EditFixedInVersion),
    ROLES_RIGHT(EditVerifiedDate),
    ROLES_RIGHT(EditDescription),
    ROLES_RIGHT(EditRecreateStep),
    ROLES_RIGHT(EditWorkAround),
    ROLES_RIGHT(EditReport),
    ROLES_RIGHT(EditDateDue),
    ROLES_RIGHT(EditResolution),
    ROLES_RIGHT(EditAttachment),
    ROLES_RIGHT(EditEstimatedTime),
    ROLES_RIGHT(ReportGen),
    ROLES_RIGHT(Print),
    ROLES_RIGHT(Statistic),
    ROLES_RIGHT(Add_Edit_Del_BugClass),
    ROLES_RIGHT(Add_Edit_Del_BugSeverity),
    ROLES_RIGHT(Add_Edit_Del_BugReproductive),
    ROLES_RIGHT(Add_Edit_Del_BugPriority),
    ROLES_RIGHT(Add_Edit_Del_BugStatus),
    ROLES_RIGHT(AssignClassToUser),
    ROLES_RIGHT(EditProject),
    ROLES_RIGHT(DeleteProject),
}};

#undef ROLES_RIGHT

constexpr bool InFlagOrder()
{
    for (int i = 0; i < RightFlags::kCount; ++i) {
        if (static_cast<int>(kAccessors[i].flag) != i) return false;
    }
    return true;
}
static_assert(InFlagOrder(), "kAccessors must follow the order of RightFlag");

const Accessors& Of(RightFlag flag)
{
    return kAccessors[static_cast<std::size_t>(flag)];
}

}  // namespace

const std::array<RightFlag, RightFlags::kCount>& RightFlags::all()
{
    static const std::array<RightFlag, kCount> flags = [] {
        std::array<RightFlag, kCount> list{};
        for (int i = 0; i < kCount; ++i) list[i] = kAccessors[i].flag;
        return list;
    }();
    return flags;
}

const char* RightFlags::name(RightFlag flag)
{
    return Of(flag).name;
}

bool RightFlags::get(lindor::IRight* right, RightFlag flag, bool* value)
{
    std::int32_t stored = 0;
    const bool read = (right->*Of(flag).get)(&stored) == lindor::S_OK;
    *value = read && stored != 0;
    return read;
}

bool RightFlags::get(lindor::IRight* right, RightFlag flag)
{
    bool value = false;
    get(right, flag, &value);
    return value;
}

bool RightFlags::set(lindor::IRight* right, RightFlag flag, bool value)
{
    return (right->*Of(flag).put)(value ? 1 : 0) == lindor::S_OK;
}

}  // namespace roles
