// The 64-byte password block of "Bug.cfg": the password's UTF-8 bytes padded
// with zero bytes to 64, enciphered as eight blocks (ECB) under the client's
// own key.
#pragma once

#include <QByteArray>
#include <QString>

namespace nimbra {

class PasswordBlock {
public:
    static constexpr int kSize = 64;

    // Bytes beyond 64 are cut, never a character in the middle.
    static QByteArray encipher(const QString& password);
    // The characters up to the first zero byte; a block of another size
    // gives the empty text.
    static QString decipher(const QByteArray& block);
    // The longest prefix of `password` whose UTF-8 form fits the block.
    static QString fitted(const QString& password);
};

}  // namespace nimbra
