#include "client/passwordblock.h"

#include <array>

#include "client/blowfishcipher.h"

namespace nimbra {

namespace {

// "Wd5pL8r" and its terminating zero byte: eight key bytes.
constexpr std::uint8_t kKey[8] = {'W', 'd', '5', 'p', 'L', '8', 'r', 0};

BlowfishCipher Cipher()
{
    return BlowfishCipher(kKey, sizeof kKey, std::array<std::uint8_t, 8>{});
}

std::uint8_t* Bytes(QByteArray& block)
{
    return reinterpret_cast<std::uint8_t*>(block.data());
}

}  // namespace

QString PasswordBlock::fitted(const QString& password)
{
    QString text = password;
    while (text.toUtf8().size() > kSize) text.chop(1);
    if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);
    return text;
}

QByteArray PasswordBlock::encipher(const QString& password)
{
    QByteArray block = fitted(password).toUtf8();
    block.append(QByteArray(kSize - block.size(), '\0'));
    Cipher().encrypt(Bytes(block), kSize, BlowfishCipher::ECB);
    return block;
}

QString PasswordBlock::decipher(const QByteArray& stored)
{
    if (stored.size() != kSize) return QString();
    QByteArray block = stored;
    Cipher().decrypt(Bytes(block), kSize, BlowfishCipher::ECB);
    const qsizetype end = block.indexOf('\0');
    return QString::fromUtf8(end < 0 ? block : block.left(end));
}

}  // namespace nimbra
