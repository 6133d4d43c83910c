// A real database for a test, made by the engine's Admin.NewMDB, and the few
// writes tests need to fill it: users, their per-project rights, bugs. Every
// write goes through the engine's public interfaces. Failures return 0 or
// false and leave the engine's description in error().
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>
#include <QStringList>

namespace nimbra::test {

using RightPut = lindor::HRESULT (lindor::IRight::*)(std::int32_t);

// The rights of a role in one project. Read is always given.
struct ProjectGrant {
    int projectId = 1;
    bool add = true;
    bool remove = true;
    bool edit = true;          // every right to change a bug, its classifications too
    bool classes = false;      // maintain the project's classifications and assign them
    QList<RightPut> withheld;  // rights taken back from what `edit` gave
    QStringList statuses = {QStringLiteral("New"), QStringLiteral("Active"),
                            QStringLiteral("Resolved"), QStringLiteral("Verified")};
};

struct NewBug {
    lindor::eBugType type = lindor::eBug;
    QString description = QStringLiteral("A bug");
    QString status = QStringLiteral("New");
    QString severity = QStringLiteral("Normal");
    QString priority = QStringLiteral("Normal");
    QString reproductive = QStringLiteral("Always");
    int projectId = 1;
    int versionId = 1;
    int reportedById = 1;
    double reportedDate = 0.0;
    int estimatedMinutes = 0;
    int classificationId = 0;
    QString report;  // RTF text or empty
    int fixedById = 0;
    double fixedDate = 0.0;
    int fixedInVersionId = 0;
    int verifiedById = 0;
    double verifiedDate = 0.0;
};

class TestDatabase {
public:
    // Creates a new database file at `path`; the administrator (user 1) gets
    // a role with every right in the two projects a new database holds, and
    // a computer description.
    explicit TestDatabase(const QString& path);

    bool isValid() const { return valid_; }
    QString path() const { return path_; }
    QString error() const { return error_; }

    // The new user's id, or 0. With `withSystemInfo` the user has a computer
    // description, so that logging in does not ask for one.
    int addUser(const QString& login, const QString& password, const QString& userName,
                bool withSystemInfo = true);
    bool grant(int userId, const QList<ProjectGrant>& grants);
    // The new bug's id, or 0. Stored by the administrator.
    int addBug(const NewBug& wanted);
    // The new classification's id, or 0.
    int addClassification(int projectId, const QString& name);
    // The administrator's context, as another program working on the same
    // file would have it.
    lindor::IExeContext* context() const { return context_.get(); }

private:
    bool fail(const QString& what);
    bool connect();
    bool describeAdministrator();
    bool describeComputer(lindor::IUser* user);

    lindor::ComPtr<lindor::IBugSet> bugSetFor(int projectId, lindor::eBugType type);

    QString path_;
    QString error_;
    bool valid_ = false;
    lindor::ComPtr<lindor::IExeContext> context_;
    // The set bugs were last added to, kept for the next bug of its kind.
    lindor::ComPtr<lindor::IBugSet> bugs_;
    int bugsProject_ = 0;
    lindor::eBugType bugsType_ = lindor::eBug;
};

}  // namespace nimbra::test
