// The main window with its user list: opening a database as administrator,
// the user sheet's first page, the administrator's own sheet, deleting.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QWizard>

#include <memory>

#include "admin/adminlogindialog.h"
#include "admin/adminview.h"
#include "admin/sheetdialog.h"
#include "admin/tests/adminfixture.h"
#include "admin/usergeneralpage.h"
#include "widgets/programsettings.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"

using namespace nimbra;
using namespace nimbra::test;

namespace {

QStringList Logins(const AdminView* list)
{
    QStringList logins;
    for (int i = 0; i < list->topLevelItemCount(); ++i) logins << list->topLevelItem(i)->text(0);
    return logins;
}

}  // namespace

class UsersTest : public AdminTestCase {
    Q_OBJECT
private slots:
    void init() { startWithTeamDatabase(); }

    void firstOpenDialogStartsInTheProgramFolder()
    {
        QString folder;
        QStringList filters;
        ModalDialogs::whenShown<QFileDialog>([&](QFileDialog* dialog) {
            folder = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            dialog->reject();
        });
        fixture->window->openDatabaseCommand();
        QCOMPARE(folder, QDir(QApplication::applicationDirPath()).absolutePath());
        QCOMPARE(filters, QStringList{"Nimbra database (*.mdb)"});
        ModalDialogs::answerFileDialog(database->path());
        ModalDialogs::whenShown<AdminLoginDialog>([](AdminLoginDialog* login) { login->accept(); });
        fixture->window->openDatabaseCommand();
        QCOMPARE(ProgramSettings(AdminMainWindow::kTitle).readInt("FirstRun", 1), 0);
        QVERIFY(fixture->window->databaseIsOpen());
        QCOMPARE(fixture->window->windowTitle(), "Nimbra Administrator - " + database->path());
    }

    void usersAreListedByLoginNameAndNeedTheRightPassword()
    {
        for (const char* login : {"zoe", "Bob", "amy"})
            QVERIFY(database->addUser(login, "pw", login) > 0);
        QVERIFY(!fixture->openAs(database->path(), "wrong"));
        QCOMPARE(fixture->messages.last(), QString("User Name or password is incorrect!"));
        QVERIFY(!fixture->window->action(AdminCommand::AddUser)->isEnabled());
        QCOMPARE(fixture->window->userList()->topLevelItemCount(), 0);
        QCOMPARE(fixture->window->windowTitle(), QString("Nimbra Administrator"));
        // The empty window says how to go on.
        QVERIFY(fixture->window->userList()->emptyNote().contains("Open Database"));

        ModalDialogs::whenShown<AdminLoginDialog>([](AdminLoginDialog* login) { login->reject(); });
        QVERIFY(!fixture->window->openDatabase(database->path()));
        QVERIFY(!fixture->window->action(AdminCommand::AddUser)->isEnabled());

        QVERIFY(fixture->openAs(database->path()));
        QCOMPARE(Logins(fixture->window->userList()), (QStringList{"Admin", "amy", "Bob", "zoe"}));
        QVERIFY(fixture->window->action(AdminCommand::AddUser)->isEnabled());
        QVERIFY(fixture->window->action(AdminCommand::EditProject)->isEnabled());
    }

    // Every new database lets "Admin" in without a password: the status bar
    // says so and the administrator's row waits for editing, until one is set.
    void emptyAdministratorPasswordIsPointedOut()
    {
        QVERIFY(fixture->openAs(database->path()));
        QVERIFY(fixture->window->passwordNote().contains("Admin"));
        QCOMPARE(fixture->window->userList()->selectedUserId(), 1);
        QVERIFY(fixture->window->action(AdminCommand::EditUser)->isEnabled());

        ModalDialogs::whenShown<SheetDialog>([](SheetDialog* sheet) {
            QCOMPARE(sheet->windowTitle(), QString("Edit User"));
            QCOMPARE(sheet->tabs()->count(), 1);
            QCOMPARE(sheet->tabs()->tabText(0), QString("General"));
            QVERIFY(!sheet->findChild<QLineEdit*>("loginName")->isEnabled());
            sheet->findChild<QLineEdit*>("password")->setText("secret");
            sheet->findChild<QLineEdit*>("confirmation")->setText("secret");
            sheet->accept();
        });
        fixture->window->editUser();
        QVERIFY(fixture->window->passwordNote().isEmpty());
        const auto context = CreateEngineObject<lindor::IExeContext>("Lindor.ExeContext.1");
        QCOMPARE(context->OpenAccessDB(database->path().toStdString()), lindor::S_OK);
        QCOMPARE(context->Login("Admin", "secret"), lindor::S_OK);
        // No role was written for him: his role still holds both projects.
        const auto admin = StoredUser(context.get(), "Admin");
        QVERIFY(StoredRight(admin.get(), 1));
        QVERIFY(StoredRight(admin.get(), 2));
        QVERIFY(fixture->openAs(database->path(), "secret"));
        QVERIFY(fixture->window->passwordNote().isEmpty());
    }

    void mistypedConfirmationEmptiesBothFields()
    {
        QVERIFY(fixture->openAs(database->path()));
        ModalDialogs::whenShown<QWizard>([this](QWizard* wizard) {
            QVERIFY(!wizard->button(QWizard::BackButton)->isVisible());
            wizard->next();
            QCOMPARE(fixture->messages.last(), QString("Login Name cannot be empty!"));
            wizard->findChild<QLineEdit*>("loginName")->setText("eve");
            wizard->findChild<QLineEdit*>("password")->setText("secret");
            wizard->findChild<QLineEdit*>("confirmation")->setText("Secret");
            wizard->findChild<QLineEdit*>("userName")->setText("Eve");
            wizard->next();
            QCOMPARE(fixture->messages.last(),
                     QString("Password is not the same, please enter it again!"));
            QVERIFY(qobject_cast<UserGeneralPage*>(wizard->currentPage()));
            QVERIFY(wizard->findChild<QLineEdit*>("password")->text().isEmpty());
            QVERIFY(wizard->findChild<QLineEdit*>("confirmation")->text().isEmpty());
            QCOMPARE(wizard->focusWidget(), wizard->findChild<QLineEdit*>("password"));
            wizard->reject();
        });
        fixture->window->addUser();
        QCOMPARE(Logins(fixture->window->userList()), QStringList{"Admin"});
    }

    void addedUserGetsARowAndATakenLoginNameIsRefused()
    {
        QVERIFY(fixture->openAs(database->path()));
        fixture->addUser("dan", [](RightPage*) {});
        QCOMPARE(Logins(fixture->window->userList()), (QStringList{"Admin", "dan"}));
        QCOMPARE(fixture->window->userList()->currentItem()->text(1), QString("DAN"));
        fixture->addUser("dan", [](RightPage*) {});
        QCOMPARE(fixture->messages.last(), QString("Login Name(dan) is already exist!"));
        QCOMPARE(Logins(fixture->window->userList()), (QStringList{"Admin", "dan"}));
    }

    void deletingAsksAndTheAdministratorStays()
    {
        QVERIFY(database->addUser("gus", "pw", "Gus") > 0);
        QVERIFY(fixture->openAs(database->path()));
        QVERIFY(fixture->selectLogin("Admin"));
        fixture->window->deleteUser();
        QCOMPARE(fixture->messages.texts().mid(fixture->messages.texts().size() - 2),
                 (QStringList{"Do you really want to delete this user?", "Cannot delete Admin"}));
        QVERIFY(fixture->selectLogin("gus"));
        fixture->messages.answerNext(QMessageBox::No);
        fixture->window->deleteUser();
        QCOMPARE(Logins(fixture->window->userList()), (QStringList{"Admin", "gus"}));
        QVERIFY(fixture->selectLogin("gus"));
        fixture->window->deleteUser();
        QCOMPARE(Logins(fixture->window->userList()), QStringList{"Admin"});
        QVERIFY(!StoredUser(AdminContext(database->path()).get(), "gus"));
        QVERIFY(!fixture->window->action(AdminCommand::DeleteUser)->isEnabled());
    }

    // Ctrl+A and Ctrl+E reach the commands while the list has the focus,
    // where a list would otherwise take Ctrl+A as "select all".
    void shortcutsWorkFromTheList()
    {
        QVERIFY(fixture->openAs(database->path()));
        fixture->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture->window.get()));
        fixture->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture->window.get()));
        fixture->window->userList()->setFocus();
        QStringList shown;
        ModalDialogs::whenShown<QWizard>([&shown](QWizard* wizard) {
            shown << wizard->windowTitle();
            wizard->reject();
        });
        QTest::keyClick(fixture->window->userList(), Qt::Key_A, Qt::ControlModifier);
        fixture->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture->window.get()));
        QVERIFY(fixture->window->action(AdminCommand::EditUser)->isEnabled());
        ModalDialogs::whenShown<SheetDialog>([&shown](SheetDialog* sheet) {
            shown << sheet->windowTitle();
            sheet->reject();
        });
        QTest::keyClick(fixture->window->userList(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(shown, (QStringList{"Add User", "Edit User"}));
    }

    void helpWithoutPagesSaysSo()
    {
        fixture->window->showHelp();
        QCOMPARE(fixture->messages.last(), QString("Help File NOT Found!"));
    }
};

QTEST_MAIN(UsersTest)
#include "tst_users.moc"
