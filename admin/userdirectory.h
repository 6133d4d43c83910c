// The users of the open database as the administration program changes
// them: listing, adding with a role, editing, deleting. Every call goes to
// the engine; a false result leaves the engine's description to show.
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>

#include "admin/engineobject.h"

namespace nimbra {

struct UserFields;

struct UserRow {
    int id = 0;
    QString loginName;
    QString userName;
    QString description;
};

class UserDirectory {
public:
    using Found = FoundItem<lindor::IUserSet, lindor::IUser>;

    explicit UserDirectory(lindor::IExeContext* context) : context_(context) {}

    // Every user, in the order the administration object lists them.
    bool list(QList<UserRow>* rows) const;
    // Deletes the user from the database (the administrator is refused).
    bool remove(int id) const;
    // Stores a new user; `id` receives his new ID.
    bool add(const UserFields& fields, int* id) const;
    // Replaces the stored role of user `id` by `role`.
    bool assignRole(int id, lindor::IUserRight* role) const;
    // The user with that ID as the current user of a fresh list of all
    // users; `found` stays empty when no user has it. False when the
    // engine fails.
    bool find(int id, Found* found) const;
    // Writes `fields` into the found user and stores him.
    bool update(const Found& found, const UserFields& fields) const;

    static UserRow rowOf(lindor::IUser* user);

private:
    lindor::ComPtr<lindor::IAdmin> admin() const;

    lindor::IExeContext* context_;
};

}  // namespace nimbra
