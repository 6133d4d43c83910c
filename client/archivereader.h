// Reads what ArchiveWriter writes. Every read past the end fails and marks the
// archive damaged; later reads then fail too, so a caller may check once.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace nimbra {

class ArchiveReader {
public:
    explicit ArchiveReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

    bool readInt32(std::int32_t* value);
    bool readUInt16(std::uint16_t* value);
    bool readFloat64(double* value);
    bool readString(QString* text);
    bool readRaw(int length, QByteArray* bytes);

    bool damaged() const { return damaged_; }
    bool atEnd() const { return position_ >= bytes_.size(); }

private:
    template <class T>
    bool readLittleEndian(T* value);
    bool take(qsizetype length, const char** data);

    QByteArray bytes_;
    qsizetype position_ = 0;
    bool damaged_ = false;
};

}  // namespace nimbra
