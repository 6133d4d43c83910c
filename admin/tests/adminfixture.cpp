#include "admin/tests/adminfixture.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QWizard>

#include "admin/adminlogindialog.h"
#include "admin/adminview.h"
#include "admin/engineobject.h"
#include "admin/rightpage.h"
#include "widgets/testsupport/modaldialogs.h"

namespace nimbra::test {

namespace {

void ClearProgramSettings()
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nimbra"),
              AdminMainWindow::kTitle)
        .clear();
}

}  // namespace

AdminFixture::AdminFixture(const TestEnvironment& sharedEnvironment)
    : environment(sharedEnvironment)
{
    ClearProgramSettings();
    window = std::make_unique<AdminMainWindow>();
    window->show();
}

QString AdminFixture::path(const QString& name) const
{
    return environment.path(QLatin1String(QTest::currentTestFunction()) + QLatin1Char('-') + name);
}

bool AdminFixture::openAs(const QString& path, const QString& password)
{
    ModalDialogs::whenShown<AdminLoginDialog>([password](AdminLoginDialog* login) {
        login->setPassword(password);
        login->accept();
    });
    return window->openDatabase(path);
}

void AdminFixture::addUser(const QString& login, const std::function<void(RightPage*)>& onRights)
{
    ModalDialogs::whenShown<QWizard>([login, onRights](QWizard* wizard) {
        wizard->findChild<QLineEdit*>(QStringLiteral("loginName"))->setText(login);
        wizard->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("pw"));
        wizard->findChild<QLineEdit*>(QStringLiteral("confirmation"))
            ->setText(QStringLiteral("pw"));
        wizard->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(login.toUpper());
        wizard->next();
        wizard->next();
        auto* rights = qobject_cast<RightPage*>(wizard->currentPage());
        if (rights == nullptr) {
            wizard->reject();
            return;
        }
        onRights(rights);
        wizard->button(QWizard::FinishButton)->click();
    });
    window->addUser();
}

bool AdminFixture::selectLogin(const QString& login)
{
    AdminView* list = window->userList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) != login) continue;
        list->setCurrentItem(list->topLevelItem(i));
        return true;
    }
    return false;
}

lindor::ComPtr<lindor::IExeContext> AdminContext(const QString& path)
{
    auto context = CreateEngineObject<lindor::IExeContext>("Lindor.ExeContext.1");
    if (!context || context->OpenAccessDB(path.toStdString()) != lindor::S_OK ||
        context->Login("Admin", "") != lindor::S_OK)
        return nullptr;
    return context;
}

lindor::ComPtr<lindor::IUser> StoredUser(lindor::IExeContext* context, const QString& login)
{
    lindor::ComPtr<lindor::IUserSet> users;
    if (context->get_AllUser(users.put()) != lindor::S_OK) return nullptr;
    const int count = EngineNumber(users.get(), &lindor::IUserSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IUser> user;
        users->get_Item(i, user.put());
        if (EngineText(user.get(), &lindor::IUser::get_LoginName) == login) return user;
    }
    return nullptr;
}

lindor::ComPtr<lindor::IRight> StoredRight(lindor::IUser* user, int projectId)
{
    lindor::ComPtr<lindor::IUserRight> role;
    lindor::ComPtr<lindor::IRightSet> rights;
    lindor::ComPtr<lindor::IRight> right;
    if (user->get_Right(role.put()) != lindor::S_OK ||
        role->get_RightSet(rights.put()) != lindor::S_OK)
        return nullptr;
    rights->GetByProjectID(projectId, right.put());
    return right;
}

QStringList StatusNames(lindor::IRight* right)
{
    lindor::ComPtr<lindor::IBugStatus> list;
    right->get_AvailableStatus(list.put());
    return EngineNames(list.get());
}

void AdminTestCase::initTestCase()
{
    environment = std::make_unique<TestEnvironment>();
}

void AdminTestCase::cleanupTestCase()
{
    environment.reset();
}

void AdminTestCase::startWithTeamDatabase()
{
    fixture = std::make_unique<AdminFixture>(*environment);
    database = std::make_unique<TestDatabase>(fixture->path(QStringLiteral("team.mdb")));
    QVERIFY2(database->isValid(), qPrintable(database->error()));
}

void AdminTestCase::cleanup()
{
    QCOMPARE(ModalDialogs::missed(), 0);
    fixture.reset();
    database.reset();
}

}  // namespace nimbra::test
