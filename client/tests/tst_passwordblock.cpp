// The password block of "Bug.cfg": 64 bytes enciphered under the client's key.
#include <QTest>

#include "client/passwordblock.h"

using nimbra::PasswordBlock;

class PasswordBlockTest : public QObject {
    Q_OBJECT
private slots:
    void holdsUpToSixtyFourBytes()
    {
        const QString full(64, QLatin1Char('p'));
        const QByteArray block = PasswordBlock::encipher(full);
        QCOMPARE(block.size(), 64);
        QVERIFY(!block.contains(QByteArray("pppppppp")));
        QCOMPARE(PasswordBlock::decipher(block), full);
        QCOMPARE(PasswordBlock::decipher(PasswordBlock::encipher(full + "xyz")), full);
        const QString accented = QString(63, QLatin1Char('a')) + QChar(0x00E9);
        QCOMPARE(PasswordBlock::fitted(accented), QString(63, QLatin1Char('a')));
        QCOMPARE(PasswordBlock::decipher(QByteArray(10, 'x')), QString());
    }

    void blocksAreEncipheredEightBytesAtATime()
    {
        // Electronic code book: equal 8-byte blocks of the padded text give
        // equal enciphered blocks, so the zero padding repeats.
        const QByteArray block = PasswordBlock::encipher(QStringLiteral("secret"));
        QCOMPARE(block.mid(8, 8), block.mid(56, 8));
        QVERIFY(block.left(8) != block.mid(8, 8));
    }
};

QTEST_MAIN(PasswordBlockTest)
#include "tst_passwordblock.moc"
