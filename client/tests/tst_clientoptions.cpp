// "Bug.cfg": the exact bytes written and read, the password block, the file's
// mode, and files that are missing, damaged or written by a newer version.
#include <QFile>
#include <QTest>

#include <memory>

#include "archivebytes.h"
#include "client/clientoptions.h"
#include "client/optionscommand.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::ClientOptions;

namespace {

using nimbra::test::Int32;
using nimbra::test::ShortString;
using nimbra::test::UnderClientKey;

QByteArray Padded(const QByteArray& text)
{
    return text + QByteArray(64 - text.size(), '\0');
}

}  // namespace

class ClientOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { environment = std::make_unique<nimbra::test::TestEnvironment>(); }
    void cleanup() { environment.reset(); }

    void writesEveryItemInItsPlace()
    {
        ClientOptions options;
        options.setDatabasePath(QStringLiteral("/srv/bugs.mdb"));
        options.setLoginName(QStringLiteral("ann"));
        options.setProjectId(2);
        options.setVersionId(3);
        options.setPassword(QStringLiteral("secret"));
        options.setSavePassword(true);
        options.setDefaultDatabase(true);
        options.setUseDefaultLogin(true);
        options.setLargeToolbarIcons(true);
        options.setDateFormat(QStringLiteral("%d,%b,%Y"));
        const QByteArray bytes = options.toBytes();

        const QByteArray head =
            ShortString("/srv/bugs.mdb") + ShortString("ann") + Int32(2) + Int32(3);
        const QByteArray tail =
            Int32(1) + Int32(1) + Int32(0) + Int32(1) + Int32(1) + ShortString("%d,%b,%Y");
        QCOMPARE(bytes.size(), head.size() + 64 + tail.size());
        QCOMPARE(bytes.left(head.size()), head);
        QCOMPARE(bytes.right(tail.size()), tail);
        QCOMPARE(UnderClientKey(bytes.mid(head.size(), 64), false), Padded("secret"));
    }

    void readsAFileWrittenByANewerVersion()
    {
        const QByteArray path(300, 'd');
        const QByteArray password(64, 'q');
        QByteArray bytes = QByteArray("\xFF", 1) + QByteArray("\x2C\x01", 2) + path +
                           ShortString("bob") + Int32(7) + Int32(0) +
                           UnderClientKey(password, true) + Int32(1) + Int32(1) + Int32(1) +
                           Int32(1) + Int32(0) + ShortString("%A - %d,%m,%Y");
        bytes += Int32(42) + ShortString("a later option");
        QFile file(ClientOptions::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        ClientOptions options;
        QString error;
        QCOMPARE(options.load(&error), ClientOptions::LoadResult::Loaded);
        QCOMPARE(options.databasePath(), QString::fromLatin1(path));
        QCOMPARE(options.loginName(), QStringLiteral("bob"));
        QCOMPARE(options.projectId(), 7);
        QCOMPARE(options.versionId(), 0);
        QCOMPARE(options.password(), QString::fromLatin1(password));
        QVERIFY(options.defaultDatabase() && options.useDefaultLogin() && options.defaultProject());
        QVERIFY(options.savePassword());
        QVERIFY(!options.largeToolbarIcons());
        QCOMPARE(options.dateFormat(), QStringLiteral("%A - %d,%m,%Y"));
    }

    void savedFileIsPrivateAndDropsAnUnsavedPassword()
    {
        ClientOptions options;
        options.setLoginName(QStringLiteral("ann"));
        options.setPassword(QStringLiteral("secret"));
        options.setSavePassword(false);
        // A file left readable by others becomes private with the next save.
        QFile file(ClientOptions::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther));
        QString error;
        QVERIFY2(options.save(&error), qPrintable(error));
        QCOMPARE(QFile::permissions(ClientOptions::filePath()) &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int blockAt = 1 + 1 + 3 + 8;
        QCOMPARE(UnderClientKey(bytes.mid(blockAt, 64), false), QByteArray(64, '\0'));

        ClientOptions reread;
        QCOMPARE(reread.load(&error), ClientOptions::LoadResult::Loaded);
        QCOMPARE(reread.loginName(), QStringLiteral("ann"));
        QCOMPARE(reread.password(), QString());
    }

    void missingAndDamagedFiles()
    {
        ClientOptions options;
        QString error;
        QCOMPARE(options.load(&error), ClientOptions::LoadResult::Missing);
        QVERIFY(error.isEmpty());
        QVERIFY(!options.defaultDatabase());

        options.setDatabasePath(QStringLiteral("/srv/team.mdb"));
        options.setProjectId(4);
        options.setDefaultDatabase(true);
        options.setLargeToolbarIcons(true);
        const QByteArray whole = options.toBytes();
        QFile file(ClientOptions::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(whole.left(whole.size() - 15));  // ends inside the flags
        file.close();

        ClientOptions damaged;
        QCOMPARE(damaged.load(&error), ClientOptions::LoadResult::Failed);
        QVERIFY(error.contains(ClientOptions::filePath()));
        QCOMPARE(damaged.databasePath(), QStringLiteral("/srv/team.mdb"));
        QCOMPARE(damaged.projectId(), 4);
        QVERIFY(damaged.defaultDatabase());
        QVERIFY(!damaged.largeToolbarIcons());
    }

    void commandLineWritesTheOptionsForAutomaticLogin()
    {
        const QStringList arguments = {
            "nimbra",  "--save-options", "--database", "/srv/demo.mdb", "--login",
            "manager", "--password",     "demo",       "--project",     "1"};
        QVERIFY(nimbra::OptionsCommand::requested(arguments));
        QCOMPARE(nimbra::OptionsCommand::run(arguments), 0);
        ClientOptions options;
        QString error;
        QCOMPARE(options.load(&error), ClientOptions::LoadResult::Loaded);
        QVERIFY(options.defaultDatabase() && options.useDefaultLogin() && options.defaultProject());
        QCOMPARE(options.databasePath(), QStringLiteral("/srv/demo.mdb"));
        QCOMPARE(options.loginName(), QStringLiteral("manager"));
        QCOMPARE(options.password(), QStringLiteral("demo"));
        QCOMPARE(options.projectId(), 1);
        QCOMPARE(options.versionId(), 0);

        ClientOptions refused;
        QVERIFY(!nimbra::OptionsCommand::parse({"nimbra", "--save-options", "--project", "x"},
                                               &refused, &error));
        QCOMPARE(error, QStringLiteral("--project needs a number, not \"x\""));
        QVERIFY(nimbra::OptionsCommand::parse({"nimbra", "--save-options", "--login", "ann"},
                                              &refused, &error));
        QVERIFY(!refused.defaultDatabase() && !refused.useDefaultLogin());
    }

private:
    std::unique_ptr<nimbra::test::TestEnvironment> environment;
};

QTEST_MAIN(ClientOptionsTest)
#include "tst_clientoptions.moc"
