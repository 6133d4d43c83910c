// A tagged value with the automation type codes, used for field values and
// filter values.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace lindor {

enum VarType : std::uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_UI1 = 17
};

class Variant {
public:
    Variant() = default;

    static Variant Null() { return Variant(VT_NULL); }
    static Variant I2(std::int16_t v) { return Integral(VT_I2, v); }
    static Variant I4(std::int32_t v) { return Integral(VT_I4, v); }
    static Variant UI1(std::uint8_t v) { return Integral(VT_UI1, v); }
    static Variant Bool(bool v) { return Integral(VT_BOOL, v ? -1 : 0); }
    static Variant R8(double v) { return Floating(VT_R8, v); }
    static Variant Date(double v) { return Floating(VT_DATE, v); }
    static Variant Text(std::string v)
    {
        Variant out(VT_BSTR);
        out.text_ = std::move(v);
        return out;
    }

    VarType vt() const { return vt_; }
    bool IsEmpty() const { return vt_ == VT_EMPTY; }
    bool IsNull() const { return vt_ == VT_NULL; }

    // Accessors return the stored value of the matching type; callers check vt() first.
    std::int16_t i2() const { return static_cast<std::int16_t>(integer_); }
    std::int32_t i4() const { return static_cast<std::int32_t>(integer_); }
    std::uint8_t ui1() const { return static_cast<std::uint8_t>(integer_); }
    bool boolVal() const { return integer_ != 0; }
    double r8() const { return floating_; }
    double date() const { return floating_; }
    const std::string& text() const { return text_; }

    friend bool operator==(const Variant& a, const Variant& b)
    {
        return a.vt_ == b.vt_ && a.integer_ == b.integer_ && a.floating_ == b.floating_ &&
               a.text_ == b.text_;
    }
    friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }

private:
    explicit Variant(VarType vt) : vt_(vt) {}
    static Variant Integral(VarType vt, std::int32_t v)
    {
        Variant out(vt);
        out.integer_ = v;
        return out;
    }
    static Variant Floating(VarType vt, double v)
    {
        Variant out(vt);
        out.floating_ = v;
        return out;
    }

    VarType vt_ = VT_EMPTY;
    std::int32_t integer_ = 0;
    double floating_ = 0.0;
    std::string text_;
};

}  // namespace lindor
