// The client's cipher against the published Blowfish vectors, its refusals,
// and the password block of "Bug.cfg".
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <array>
#include <vector>

#include "client/blowfishcipher.h"
#include "client/passwordblock.h"
#include "client/pidigits.h"

using nimbra::BlowfishCipher;
using nimbra::CipherError;

namespace {

std::vector<std::uint8_t> Hex(const QString& text)
{
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

QString HexOf(const std::vector<std::uint8_t>& bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()))
            .toHex()
            .toUpper());
}

std::array<std::uint8_t, 8> Block(const QString& text)
{
    std::array<std::uint8_t, 8> block{};
    const std::vector<std::uint8_t> bytes = Hex(text);
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

QStringList VectorLines()
{
    QFile file(QStringLiteral(CLIENT_TEST_DATA "/blowfish-vectors.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
}

// The hex string on the line after the one that starts with `label`.
QString ValueAfter(const QStringList& lines, const QString& label)
{
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].trimmed().startsWith(label)) continue;
        static const QRegularExpression hex(QStringLiteral("^[0-9A-F]+$"));
        const QString sameLine = lines[i].trimmed().mid(label.size()).trimmed();
        return hex.match(sameLine).hasMatch() ? sameLine : lines[i + 1].trimmed();
    }
    return QString();
}

}  // namespace

class CipherTest : public QObject {
    Q_OBJECT
private slots:
    void ecbVectorsEncipherAndDecipher()
    {
        static const QRegularExpression row(
            QStringLiteral("^([0-9A-F]{16}) ([0-9A-F]{16}) ([0-9A-F]{16})$"));
        int checked = 0;
        for (const QString& line : VectorLines()) {
            const QRegularExpressionMatch match = row.match(line.trimmed());
            if (!match.hasMatch()) continue;
            const std::vector<std::uint8_t> key = Hex(match.captured(1));
            std::vector<std::uint8_t> data = Hex(match.captured(2));
            const BlowfishCipher cipher(key.data(), key.size(), {});
            cipher.encrypt(data.data(), data.size(), BlowfishCipher::ECB);
            QCOMPARE(HexOf(data), match.captured(3));
            cipher.decrypt(data.data(), data.size(), BlowfishCipher::ECB);
            QCOMPARE(HexOf(data), match.captured(2));
            ++checked;
        }
        QCOMPARE(checked, 34);
    }

    void variableKeyLengths()
    {
        static const QRegularExpression row(QStringLiteral("^N=(\\d+)\\s+([0-9A-F]{16})$"));
        const std::vector<std::uint8_t> longKey =
            Hex(QStringLiteral("F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677"));
        int checked = 0;
        for (const QString& line : VectorLines()) {
            const QRegularExpressionMatch match = row.match(line.trimmed());
            if (!match.hasMatch()) continue;
            std::vector<std::uint8_t> data = Hex(QStringLiteral("FEDCBA9876543210"));
            BlowfishCipher(longKey.data(), match.captured(1).toUInt(), {})
                .encrypt(data.data(), data.size(), BlowfishCipher::ECB);
            QCOMPARE(HexOf(data), match.captured(2));
            ++checked;
        }
        QCOMPARE(checked, 24);
    }

    void chainingModesRestartEveryCall()
    {
        const QStringList lines = VectorLines();
        const std::vector<std::uint8_t> key =
            Hex(ValueAfter(lines, QStringLiteral("key (16 bytes)")));
        const auto initial = Block(ValueAfter(lines, QStringLiteral("initial block")));
        std::vector<std::uint8_t> clear =
            Hex(ValueAfter(lines, QStringLiteral("clear (29 bytes)")));
        clear.resize(32, 0);
        const BlowfishCipher cipher(key.data(), key.size(), initial);

        for (int round = 0; round < 2; ++round) {
            std::vector<std::uint8_t> cbc = clear;
            cipher.encrypt(cbc.data(), cbc.size(), BlowfishCipher::CBC);
            QCOMPARE(HexOf(cbc), ValueAfter(lines, QStringLiteral("CBC, clear padded")));
            cipher.decrypt(cbc.data(), cbc.size(), BlowfishCipher::CBC);
            QCOMPARE(cbc, clear);
        }
        std::vector<std::uint8_t> cfb = clear;
        cipher.encrypt(cfb.data(), cfb.size(), BlowfishCipher::CFB);
        QCOMPARE(HexOf(cfb).left(58), ValueAfter(lines, QStringLiteral("CFB with 64-bit")));
        cipher.decrypt(cfb.data(), cfb.size(), BlowfishCipher::CFB);
        QCOMPARE(cfb, clear);
    }

    void refusesEmptyKeysAndBrokenLengths()
    {
        const std::uint8_t key[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        try {
            BlowfishCipher(key, 0, {});
            QFAIL("an empty key was accepted");
        } catch (const CipherError& error) {
            QCOMPARE(QString::fromLatin1(error.what()), QStringLiteral("Incorrect key length"));
        }
        const BlowfishCipher cipher(key, 8, {});
        std::uint8_t data[12] = {9, 9, 9};
        for (std::size_t length : {std::size_t{0}, std::size_t{12}}) {
            try {
                cipher.encrypt(data, length, BlowfishCipher::ECB);
                QFAIL("a broken length was accepted");
            } catch (const CipherError& error) {
                QCOMPARE(QString::fromLatin1(error.what()),
                         QStringLiteral("Incorrect buffer length"));
            }
        }
        QCOMPARE(data[0], std::uint8_t{9});
        std::vector<std::uint8_t> key57(57, 7);
        std::vector<std::uint8_t> key56(56, 7);
        key57[56] = 1;
        std::uint8_t a[8] = {};
        std::uint8_t b[8] = {};
        BlowfishCipher(key57.data(), 57, {}).encrypt(a, 8, BlowfishCipher::ECB);
        BlowfishCipher(key56.data(), 56, {}).encrypt(b, 8, BlowfishCipher::ECB);
        QVERIFY(std::equal(a, a + 8, b));
    }

    void piWordsStartAsPublished()
    {
        const std::vector<std::uint32_t>& words = nimbra::PiDigits::blowfishWords();
        QCOMPARE(words.size(), std::size_t{1042});
        QCOMPARE(words.front(), 0x243F6A88u);
        QCOMPARE(words[18], 0xD1310BA6u);  // the first S-box word
    }

    void passwordBlockHoldsUpToSixtyFourBytes()
    {
        const QString full(64, QLatin1Char('p'));
        const QByteArray block = nimbra::PasswordBlock::encipher(full);
        QCOMPARE(block.size(), 64);
        QVERIFY(!block.contains(QByteArray("pppppppp")));
        QCOMPARE(nimbra::PasswordBlock::decipher(block), full);
        QCOMPARE(nimbra::PasswordBlock::decipher(nimbra::PasswordBlock::encipher(full + "xyz")),
                 full);
        const QString accented = QString(63, QLatin1Char('a')) + QChar(0x00E9);
        QCOMPARE(nimbra::PasswordBlock::fitted(accented), QString(63, QLatin1Char('a')));
        QCOMPARE(nimbra::PasswordBlock::decipher(QByteArray(10, 'x')), QString());
    }
};

QTEST_MAIN(CipherTest)
#include "tst_cipher.moc"
