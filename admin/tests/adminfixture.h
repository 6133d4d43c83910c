// What the administration program's tests share: a message recorder, a main
// window logged in on a real database, and reads of what the engine stored.
// The environment lives for the whole test program, since the engine keeps
// the folder of its error log for the life of the process.
#pragma once

#include <lindor/lindor.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "admin/adminmainwindow.h"
#include "admin/engineobject.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

class QWizard;

namespace nimbra {
class RightPage;
}

namespace nimbra::test {

class AdminFixture {
public:
    // Starts with the program's settings cleared.
    explicit AdminFixture(const TestEnvironment& sharedEnvironment);

    const TestEnvironment& environment;
    MessageRecorder messages;
    std::unique_ptr<AdminMainWindow> window;

    // A path in the environment named after the running test function.
    QString path(const QString& name) const;
    // Opens `path` in the window, answering the login dialog with `password`.
    bool openAs(const QString& path, const QString& password = QString());
    // Runs "Add User...": fills "General" with a login name, the password
    // "pw" twice and a user name, goes on to "Assign right", lets `onRights`
    // work there and finishes.
    void addUser(const QString& login, const std::function<void(RightPage*)>& onRights);
    // Selects the row of the user with that login name.
    bool selectLogin(const QString& login);
};

// Answers the next file dialog with `path`.
// A fresh context on `path` logged in as the administrator (empty password).
lindor::ComPtr<lindor::IExeContext> AdminContext(const QString& path);
// The stored user with that login name, or null.
lindor::ComPtr<lindor::IUser> StoredUser(lindor::IExeContext* context, const QString& login);
// The stored role's right for a project, or null when the role has none.
lindor::ComPtr<lindor::IRight> StoredRight(lindor::IUser* user, int projectId);
QStringList StatusNames(lindor::IRight* right);

// What every test program of the administration program shares: one
// environment for the whole program, a fixture and maybe a database per test.
class AdminTestCase : public QObject {
    Q_OBJECT
protected:
    // Called by a test program's init(): a fresh fixture and a database made
    // by TestDatabase, not yet opened in the window.
    void startWithTeamDatabase();

    std::unique_ptr<TestEnvironment> environment;
    std::unique_ptr<AdminFixture> fixture;
    std::unique_ptr<TestDatabase> database;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
};

}  // namespace nimbra::test
