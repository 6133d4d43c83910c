// The administration program on the test server: "New on Server..." creates
// the database at the address typed, opens it, and a user added there is
// stored on the server.
#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "admin/adminlogindialog.h"
#include "admin/tests/adminfixture.h"
#include "widgets/serveraddress.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testserver.h"

using namespace nimbra;
using namespace nimbra::test;

class ServerTest : public AdminTestCase {
    Q_OBJECT
private slots:
    void init() { fixture = std::make_unique<AdminFixture>(*environment); }

    void administratorCreatesADatabaseOnTheServerAndAddsAUser()
    {
        QString error;
        const QString address = newServerDatabase(&error);
        QVERIFY2(!address.isEmpty(), qPrintable(error));
        ModalDialogs::whenShown<ServerAddressDialog>([address](ServerAddressDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("serverAddress"))->setText(address);
            dialog->accept();
        });
        ModalDialogs::whenShown<AdminLoginDialog>([](AdminLoginDialog* login) { login->accept(); });
        fixture->window->findChild<QAction*>(QStringLiteral("newServerDatabase"))->trigger();
        QCOMPARE(ModalDialogs::missed(), 0);
        QVERIFY2(
            fixture->messages.texts().value(0).contains(QStringLiteral("successfully created")),
            qPrintable(fixture->messages.texts().join(QLatin1Char('|'))));

        fixture->addUser(QStringLiteral("dev"), [](RightPage*) {});
        lindor::ComPtr<lindor::IExeContext> context = AdminContext(address);
        QVERIFY(context);
        QVERIFY(StoredUser(context.get(), QStringLiteral("dev")));
    }

    void anAddressWithAPasswordIsRefusedBeforeTheEngineSeesIt()
    {
        QVERIFY(serverAddressProblem(QStringLiteral("postgresql://ann:secret@db/team"))
                    .contains(QStringLiteral("password")));
        QVERIFY(!serverAddressProblem(QStringLiteral("/home/ann/team.mdb")).isEmpty());
        QCOMPARE(serverAddressProblem(QStringLiteral("postgresql://ann@db:5432/team")), QString());
    }
};

QTEST_MAIN(ServerTest)
#include "tst_server.moc"
