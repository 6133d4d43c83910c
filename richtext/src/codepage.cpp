#include "richtext/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "richtext/utf8.h"

namespace richtext {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80 to 0x9F; its five unused
// bytes keep their own value, as the system's converter maps them.
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string DecodeWindows1252(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes) {
        const unsigned char b = static_cast<unsigned char>(byte);
        const char32_t c = (b >= 0x80 && b < 0xA0) ? kWindows1252High[b - 0x80] : b;
        AppendUtf8(c, &out);
    }
    return out;
}

std::string ConverterName(int codePage)
{
    switch (codePage) {
        case 936:
            return "GBK";
        case 950:
            return "BIG5";
        case 10000:
            return "MACINTOSH";
        default:
            return "CP" + std::to_string(codePage);
    }
}

class Converter {
public:
    explicit Converter(int codePage) : handle_(iconv_open("UTF-8", ConverterName(codePage).c_str()))
    {
    }
    ~Converter()
    {
        if (IsOpen()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::string Convert(const std::string& bytes)
    {
        std::string out;
        std::string input = bytes;
        char* in = input.data();
        std::size_t inLeft = input.size();
        char buffer[256];
        while (inLeft > 0) {
            char* to = buffer;
            std::size_t toLeft = sizeof(buffer);
            const std::size_t done = iconv(handle_, &in, &inLeft, &to, &toLeft);
            out.append(buffer, to);
            if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // An undefined or cut-off sequence: one replacement character,
            // then go on after its first byte.
            AppendUtf8(kReplacementCharacter, &out);
            ++in;
            --inLeft;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string DecodeCodePage(const std::string& bytes, int codePage)
{
    if (codePage == 65001) {
        std::string out;
        for (char32_t c : DecodeUtf8(bytes)) AppendUtf8(c, &out);
        return out;
    }
    if (codePage != kDefaultCodePage) {
        Converter converter(codePage);
        if (converter.IsOpen()) return converter.Convert(bytes);
    }
    return DecodeWindows1252(bytes);
}

int CodePageOfCharset(int charset)
{
    switch (charset) {
        case 0:
            return 1252;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 437;
        default:
            return 0;
    }
}

}  // namespace richtext
