#include "admin/rightflags.h"

namespace nimbra {

namespace {

using Getter = lindor::HRESULT (lindor::IRight::*)(std::int32_t*);
using Setter = lindor::HRESULT (lindor::IRight::*)(std::int32_t);

struct Accessors {
    RightFlag flag;
    Getter get;
    Setter put;
};

#define NIMBRA_RIGHT(name) Accessors{RightFlag::name, &lindor::IRight::get_##name, &lindor::IRight::put_##name}

// In the order of the RightFlag values, checked below.
constexpr std::array<Accessors, RightFlags::kCount> kAccessors = {
    NIMBRA_RIGHT(Add),
    NIMBRA_RIGHT(Read),
    NIMBRA_RIGHT(Delete),
    NIMBRA_RIGHT(EditType),
    NIMBRA_RIGHT(EditClass),
    NIMBRA_RIGHT(EditPriority),
    NIMBRA_RIGHT(EditSeverity),
    NIMBRA_RIGHT(EditReproductive),
    NIMBRA_RIGHT(EditReportedInPrj),
    NIMBRA_RIGHT(EditReportedInVersion),
    NIMBRA_RIGHT(EditReportedDate),
    NIMBRA_RIGHT(EditFixedDate),
    NIMBRA_RIGHT(EditFixedInVersion),
    NIMBRA_RIGHT(EditVerifiedDate),
    NIMBRA_RIGHT(EditDescription),
    NIMBRA_RIGHT(EditRecreateStep),
    NIMBRA_RIGHT(EditWorkAround),
    NIMBRA_RIGHT(EditReport),
    NIMBRA_RIGHT(EditDateDue),
    NIMBRA_RIGHT(EditResolution),
    NIMBRA_RIGHT(EditAttachment),
    NIMBRA_RIGHT(EditEstimatedTime),
    NIMBRA_RIGHT(ReportGen),
    NIMBRA_RIGHT(Print),
    NIMBRA_RIGHT(Statistic),
    NIMBRA_RIGHT(Add_Edit_Del_BugClass),
    NIMBRA_RIGHT(Add_Edit_Del_BugSeverity),
    NIMBRA_RIGHT(Add_Edit_Del_BugReproductive),
    NIMBRA_RIGHT(Add_Edit_Del_BugPriority),
    NIMBRA_RIGHT(Add_Edit_Del_BugStatus),
    NIMBRA_RIGHT(AssignClassToUser),
    NIMBRA_RIGHT(EditProject),
    NIMBRA_RIGHT(DeleteProject),
};

#undef NIMBRA_RIGHT

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

bool RightFlags::get(lindor::IRight* right, RightFlag flag)
{
    std::int32_t value = 0;
    (right->*Of(flag).get)(&value);
    return value != 0;
}

void RightFlags::set(lindor::IRight* right, RightFlag flag, bool value)
{
    (right->*Of(flag).put)(value ? 1 : 0);
}

}  // namespace nimbra
