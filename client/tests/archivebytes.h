// The bytes of the client's files as a test writes them out by hand, to
// compare with what the client writes or to feed it.
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <cstring>

#include <BlowfishCipher.h>

namespace nimbra::test {

template <class T>
QByteArray LittleEndian(T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    return QByteArray(raw, sizeof(T));
}

inline QByteArray Int32(std::int32_t value)
{
    return LittleEndian(value);
}

inline QByteArray UInt16(std::uint16_t value)
{
    return LittleEndian(value);
}

inline QByteArray Float64(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return LittleEndian(bits);
}

// A string shorter than 255 bytes: its length in one byte, then the bytes.
inline QByteArray ShortString(const QByteArray& text)
{
    return char(text.size()) + text;
}

// The cipher of the options file's password block, applied to 64 bytes.
inline QByteArray UnderClientKey(QByteArray block, bool encipher)
{
    const std::uint8_t key[8] = {'W', 'd', '5', 'p', 'L', '8', 'r', 0};
    const std::uint8_t zeroChain[8] = {};
    const lindor::BlowfishCipher cipher(key, 8, zeroChain);
    auto* bytes = reinterpret_cast<std::uint8_t*>(block.data());
    if (encipher)
        cipher.Encrypt(bytes, 64, lindor::CipherMode::ECB);
    else
        cipher.Decrypt(bytes, 64, lindor::CipherMode::ECB);
    return block;
}

}  // namespace nimbra::test
