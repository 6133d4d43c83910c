// Writes the client's little-endian files ("Bug.cfg", "filter.ser"): integers,
// floats and strings with a length prefix of 1, 3 or 7 bytes, no terminator.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace nimbra {

class ArchiveWriter {
public:
    void writeInt32(std::int32_t value);
    void writeUInt16(std::uint16_t value);
    void writeFloat64(double value);
    // UTF-8 bytes. Below 255 bytes: one length byte; below 65534: 0xFF and a
    // 16-bit length; otherwise 0xFF, 0xFFFF and a 32-bit length.
    void writeString(const QString& text);
    void writeRaw(const QByteArray& bytes);

    const QByteArray& bytes() const { return bytes_; }

private:
    template <class T>
    void writeLittleEndian(T value);

    QByteArray bytes_;
};

}  // namespace nimbra
