#include "client/archivewriter.h"

#include <QtEndian>

#include <cstring>

namespace nimbra {

template <class T>
void ArchiveWriter::writeLittleEndian(T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    bytes_.append(raw, sizeof(T));
}

void ArchiveWriter::writeInt32(std::int32_t value)
{
    writeLittleEndian(value);
}

void ArchiveWriter::writeUInt16(std::uint16_t value)
{
    writeLittleEndian(value);
}

void ArchiveWriter::writeFloat64(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    writeLittleEndian(bits);
}

void ArchiveWriter::writeString(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const auto length = static_cast<std::uint32_t>(utf8.size());
    if (length < 0xFF) {
        bytes_.append(static_cast<char>(length));
    } else if (length < 0xFFFE) {
        bytes_.append('\xFF');
        writeUInt16(static_cast<std::uint16_t>(length));
    } else {
        bytes_.append('\xFF');
        writeUInt16(0xFFFF);
        writeLittleEndian(length);
    }
    bytes_.append(utf8);
}

void ArchiveWriter::writeRaw(const QByteArray& bytes)
{
    bytes_.append(bytes);
}

}  // namespace nimbra
