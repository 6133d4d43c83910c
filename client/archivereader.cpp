#include "client/archivereader.h"

#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace nimbra {

bool ArchiveReader::take(qsizetype length, const char** data)
{
    if (damaged_ || length < 0 || length > bytes_.size() - position_) {
        damaged_ = true;
        return false;
    }
    *data = bytes_.constData() + position_;
    position_ += length;
    return true;
}

template <class T>
bool ArchiveReader::readLittleEndian(T* value)
{
    const char* data = nullptr;
    if (!take(sizeof(T), &data)) return false;
    *value = qFromLittleEndian<T>(data);
    return true;
}

bool ArchiveReader::readInt32(std::int32_t* value)
{
    return readLittleEndian(value);
}

bool ArchiveReader::readUInt16(std::uint16_t* value)
{
    return readLittleEndian(value);
}

bool ArchiveReader::readFloat64(double* value)
{
    std::uint64_t bits = 0;
    if (!readLittleEndian(&bits)) return false;
    std::memcpy(value, &bits, sizeof bits);
    return true;
}

bool ArchiveReader::readString(QString* text)
{
    std::uint8_t shortLength = 0;
    if (!readLittleEndian(&shortLength)) return false;
    std::uint32_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t middle = 0;
        if (!readUInt16(&middle)) return false;
        length = middle;
        if (middle == 0xFFFF && !readLittleEndian(&length)) return false;
    }
    QByteArray utf8;
    if (!readRaw(static_cast<int>(std::min<std::uint32_t>(length, INT32_MAX)), &utf8)) return false;
    *text = QString::fromUtf8(utf8);
    return true;
}

bool ArchiveReader::readRaw(int length, QByteArray* bytes)
{
    const char* data = nullptr;
    if (!take(length, &data)) return false;
    *bytes = QByteArray(data, length);
    return true;
}

}  // namespace nimbra
