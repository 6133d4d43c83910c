// The bytes of "filter.ser" (little endian, strings as ArchiveWriter writes
// them): version 1 (int32), the number of filters (int32), then per filter
// its name (string) and number of conditions (int32), and per condition the
// field (string), the comparison (int32), the value's type (uint16: 8 text,
// 7 date), the value (string, or float64 day count) and the And/Or (int32).
#pragma once

#include <lindor/lindor.h>

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace nimbra {

class FilterFile {
public:
    enum class Result { Read, OtherVersion, Damaged, EngineFailed };
    static constexpr std::int32_t kVersion = 1;
    static constexpr std::uint16_t kTextType = lindor::VT_BSTR;
    static constexpr std::uint16_t kDateType = lindor::VT_DATE;

    using Set = lindor::ComPtr<lindor::IBugFilterSet>;

    // False with the engine's description when a set could not be read.
    static bool write(const std::vector<Set>& sets, QByteArray* bytes, QString* error);
    // Hands each set read to `take`, which ends the reading by returning
    // false. Damaged: the bytes end early or hold a value type other than 7
    // and 8; EngineFailed: the engine refused a value (with its description).
    static Result read(const QByteArray& bytes, const std::function<bool(Set)>& take,
                       QString* error);
};

}  // namespace nimbra
