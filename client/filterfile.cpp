#include "client/filterfile.h"

#include "client/archivereader.h"
#include "client/archivewriter.h"
#include "client/filterfields.h"
#include "client/filtersets.h"
#include "widgets/engineerror.h"

namespace nimbra {

namespace {

bool IsDateValue(const FilterSets::Condition& condition)
{
    if (condition.value.vt() == lindor::VT_DATE) return true;
    if (condition.value.vt() == lindor::VT_BSTR) return false;
    // A value never set is written as the empty value of the field's kind,
    // so that it reads back into the same field.
    const FilterFields::Field* field = FilterFields::byStored(condition.field);
    return field != nullptr && field->kind == FilterFields::Kind::Date;
}

void WriteCondition(ArchiveWriter& out, const FilterSets::Condition& condition)
{
    out.writeString(condition.field);
    out.writeInt32(condition.condition);
    if (IsDateValue(condition)) {
        out.writeUInt16(FilterFile::kDateType);
        out.writeFloat64(condition.value.vt() == lindor::VT_DATE ? condition.value.date() : 0.0);
    } else {
        out.writeUInt16(FilterFile::kTextType);
        out.writeString(QString::fromStdString(condition.value.text()));
    }
    out.writeInt32(condition.andOr);
}

bool ReadValue(ArchiveReader& in, lindor::Variant* value, bool* knownType)
{
    std::uint16_t type = 0;
    if (!in.readUInt16(&type)) return false;
    *knownType = type == FilterFile::kTextType || type == FilterFile::kDateType;
    if (type == FilterFile::kDateType) {
        double day = 0.0;
        if (!in.readFloat64(&day)) return false;
        *value = lindor::Variant::Date(day);
        return true;
    }
    QString text;
    if (!*knownType || !in.readString(&text)) return false;
    *value = lindor::Variant::Text(text.toStdString());
    return true;
}

// Reads one condition and adds it to `set`; Read when that worked.
FilterFile::Result ReadCondition(ArchiveReader& in, lindor::IBugFilterSet* set)
{
    FilterSets::Condition condition;
    std::int32_t comparison = 0;
    std::int32_t andOr = 0;
    bool knownType = true;
    if (!in.readString(&condition.field) || !in.readInt32(&comparison) ||
        !ReadValue(in, &condition.value, &knownType) || !in.readInt32(&andOr))
        return FilterFile::Result::Damaged;
    condition.condition = static_cast<lindor::eLogCondition>(comparison);
    condition.andOr = static_cast<lindor::eLogOperation>(andOr);
    const lindor::ComPtr<lindor::IBugFilter> filter = FilterSets::makeCondition(condition);
    if (!filter || set->Add(filter.get()) != lindor::S_OK) return FilterFile::Result::EngineFailed;
    return FilterFile::Result::Read;
}

FilterFile::Result ReadSet(ArchiveReader& in, FilterFile::Set* set)
{
    QString name;
    std::int32_t conditions = 0;
    if (!in.readString(&name) || !in.readInt32(&conditions) || conditions < 0)
        return FilterFile::Result::Damaged;
    *set = FilterSets::make(name);
    if (!*set) return FilterFile::Result::EngineFailed;
    for (std::int32_t i = 0; i < conditions; ++i) {
        const FilterFile::Result result = ReadCondition(in, set->get());
        if (result != FilterFile::Result::Read) return result;
    }
    return FilterFile::Result::Read;
}

}  // namespace

bool FilterFile::write(const std::vector<Set>& sets, QByteArray* bytes, QString* error)
{
    ArchiveWriter out;
    out.writeInt32(kVersion);
    out.writeInt32(static_cast<std::int32_t>(sets.size()));
    for (const Set& set : sets) {
        const int conditions = FilterSets::count(set.get());
        out.writeString(FilterSets::name(set.get()));
        out.writeInt32(conditions);
        for (int i = 0; i < conditions; ++i) {
            const lindor::ComPtr<lindor::IBugFilter> filter = FilterSets::item(set.get(), i);
            FilterSets::Condition condition;
            if (!filter || !FilterSets::read(filter.get(), &condition)) {
                *error = EngineError::text();
                return false;
            }
            WriteCondition(out, condition);
        }
    }
    *bytes = out.bytes();
    return true;
}

FilterFile::Result FilterFile::read(const QByteArray& bytes, const std::function<bool(Set)>& take,
                                    QString* error)
{
    ArchiveReader in(bytes);
    std::int32_t version = 0;
    std::int32_t sets = 0;
    if (!in.readInt32(&version)) return Result::Damaged;
    if (version != kVersion) return Result::OtherVersion;
    if (!in.readInt32(&sets) || sets < 0) return Result::Damaged;
    for (std::int32_t i = 0; i < sets; ++i) {
        Set set;
        const Result result = ReadSet(in, &set);
        if (result == Result::EngineFailed) *error = EngineError::text();
        if (result != Result::Read) return result;
        if (!take(set)) break;
    }
    return Result::Read;
}

}  // namespace nimbra
