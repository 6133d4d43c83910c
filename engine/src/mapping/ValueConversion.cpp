#include "mapping/ValueConversion.h"

namespace lindor::mapping {

std::string ReadText(const Variant& value)
{
    return value.vt() == VT_BSTR ? value.text() : std::string();
}

std::int32_t ReadWholeNumber(const Variant& value)
{
    switch (value.vt()) {
        case VT_I4:
        case VT_I2:
        case VT_UI1:
            return value.i4();
        default:
            return 0;
    }
}

std::uint8_t ReadSmallNumber(const Variant& value)
{
    switch (value.vt()) {
        case VT_I4:
        case VT_I2:
        case VT_UI1:
            return static_cast<std::uint8_t>(value.i4() & 0xFF);
        default:
            return 0;
    }
}

bool ReadYesNo(const Variant& value)
{
    return value.vt() == VT_BOOL && value.boolVal();
}

Date ReadDate(const Variant& value)
{
    return value.vt() == VT_DATE ? value.date() : 0.0;
}

void WriteTextOrNull(db::Field field, const std::string& text)
{
    field.SetValue(text.empty() ? Variant::Null() : Variant::Text(text));
}

void WriteText(db::Field field, const std::string& text)
{
    field.SetValue(Variant::Text(text));
}

void WriteTextUnlessEmpty(db::Field field, const std::string& text)
{
    if (!text.empty()) field.SetValue(Variant::Text(text));
}

void WriteWholeNumber(db::Field field, std::int32_t value)
{
    field.SetValue(Variant::I4(value));
}

void WriteYesNo(db::Field field, bool value)
{
    field.SetValue(Variant::Bool(value));
}

void WriteDate(db::Field field, Date value)
{
    field.SetValue(Variant::R8(value));
}

void WriteSmallNumber(db::Field field, std::uint8_t value)
{
    field.SetValue(Variant::UI1(value));
}

}  // namespace lindor::mapping
