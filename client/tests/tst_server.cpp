// The main window on a database of the test server: opened by its address,
// the user logged in and the project's bugs listed; "Bug.cfg" keeps the
// address for the next start.
#include <QTest>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/clientoptions.h"
#include "client/infobar.h"
#include "client/mainwindow.h"
#include "clienttestcase.h"
#include "widgets/serveraddress.h"
#include "widgets/testsupport/testserver.h"

using namespace nimbra;

class ServerTest : public test::ClientTestCase {
    Q_OBJECT
private slots:
    void cleanup() { releaseAll(); }

    void aUserWorksOnADatabaseOfTheServer()
    {
        QString error;
        const QString address = test::newServerDatabase(&error);
        QVERIFY2(!address.isEmpty(), qPrintable(error));
        environment = std::make_unique<test::TestEnvironment>();
        database = std::make_unique<test::TestDatabase>(address);
        QVERIFY2(database->isValid(), qPrintable(database->error()));
        const int ann =
            database->addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann"));
        QVERIFY2(ann > 0 && database->grant(ann, {test::ProjectGrant{}}),
                 qPrintable(database->error()));
        for (const char* text : {"Crash on SAVE", "Slow start", "Save button grey"}) {
            test::NewBug bug;
            bug.description = QLatin1String(text);
            QVERIFY2(database->addBug(bug) > 0, qPrintable(database->error()));
        }

        messages = std::make_unique<test::MessageRecorder>();
        window = std::make_unique<MainWindow>();
        QVERIFY(window->openDatabase(address));
        QCOMPARE(window->context()->Login("ann", "pw"), lindor::S_OK);
        QCOMPARE(window->context()->SetActiveProject(1, 0), lindor::S_OK);
        BugListView* list = window->views()->bugs();
        QCOMPARE(list->bugModel()->rowCount(), 3);
        QCOMPARE(messages->texts(), QStringList());

        QVERIFY(!databaseDisplayName(address).contains(QLatin1Char('?')));

        // "Bug.cfg" keeps the address, and the next start logs in there.
        window.reset();
        ClientOptions options;
        options.setDefaultDatabase(true);
        options.setDatabasePath(address);
        options.setUseDefaultLogin(true);
        options.setLoginName(QStringLiteral("ann"));
        options.setPassword(QStringLiteral("pw"));
        options.setSavePassword(true);
        QVERIFY2(options.save(&error), qPrintable(error));
        window = std::make_unique<MainWindow>();
        QTRY_COMPARE(window->infoBar()->userText(), QStringLiteral("Ann"));
        QCOMPARE(messages->texts(), QStringList());
    }
};

QTEST_MAIN(ServerTest)
#include "tst_server.moc"
