#include "users/UserStore.h"

#include "cipher/PasswordBlock.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/NextID.h"
#include "db/Dialect.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "projects/RowDeletion.h"

namespace lindor::userstore {
namespace {

const Reporter kReport(ExternalClassName("UserSet"));

long AsLong(std::int32_t value)
{
    return static_cast<long>(value);
}

// Quotes inside the name are doubled, so every name is matched literally.
bool LoginNameTaken(db::Connection& connection, const std::string& loginName)
{
    db::Recordset found;
    found.Open("SELECT UserID FROM tUser WHERE LoginName = " + db::QuoteText(loginName), connection,
               db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    return !found.IsEOF();
}

AddResult InsertUserRow(db::Connection& connection, CUser& user, std::int32_t id)
{
    const std::int32_t previousID = user.ID();
    db::Recordset row;
    row.Open("SELECT * FROM tUser WHERE UserID = 0", connection, db::CursorType::Keyset,
             db::LockType::Optimistic);
    row.AddNew();
    user.SetID(id);
    if (Failed(CDBUtil::SaveUserData(row, &user))) {
        row.CancelUpdate();
        row.Close();
        user.SetID(previousID);
        LogMessage(kLogGeneral, "CUserSet::ReadAddUser", "Add new user failed");
        return AddResult::Failed;
    }
    try {
        row.Update();
    } catch (...) {
        user.SetID(previousID);
        throw;
    }
    row.Close();
    return AddResult::Added;
}

}  // namespace

std::string PasswordRefusal(const std::string& password)
{
    PasswordBlock block{};
    std::string refusal;
    if (EncipherPassword(password, &block, &refusal)) return std::string();
    return refusal;
}

AddResult RealAddUser(CUser& user)
{
    const std::int32_t id = GetNextID("NextUserID");
    if (id == 0) {
        LogMessage(kLogDatabase, "CUserSet::ReadAddUser", "GetNextID retusn 0");
        return AddResult::Failed;
    }
    try {
        db::Connection connection(db::ProcessConnectionString());
        // The look-up and the insert form one write transaction, so two
        // programs adding the same login name at once cannot both pass it.
        db::Transaction transaction(connection);
        if (LoginNameTaken(connection, user.LoginName())) {
            kReport.Fail(Format("Login Name(%s) is already exist!", user.LoginName().c_str()),
                         kLogDatabase, "CUserSet::RealAddUser");
            return AddResult::LoginNameTaken;
        }
        const AddResult result = InsertUserRow(connection, user, id);
        if (result == AddResult::Added) transaction.Commit();
        return result;
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogDatabase, "CUserSet::ReadAddUser", error);
        return AddResult::Failed;
    }
}

bool RealRemove(std::int32_t id)
{
    try {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        DeleteEveryRow(connection,
                       Format("SELECT UserID FROM tUserSystemInfo WHERE UserID=%ld", AsLong(id)));
        DeleteEveryRow(connection, Format("SELECT UserID FROM tUserClassification WHERE UserID=%ld",
                                          AsLong(id)));
        if (DeleteEveryRow(connection, Format("SELECT userID from tUser WHERE UserID = %ld",
                                              AsLong(id))) == 0) {
            LogMessage(kLogDatabase, "CUserSet::RealRemove",
                       Format("User(ID=%ld) does not exist!", AsLong(id)));
            return false;
        }
        transaction.Commit();
        return true;
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogDatabase, "CUserSet::RealRemove", error);
        return false;
    }
}

bool RealUpdate(CUser* user)
{
    const char* const source = "CUserSet::RealUpdate";
    if (user == nullptr) {
        LogMessage(kLogGeneral, source, "No current user, cannot update");
        return false;
    }
    if (user->ID() == 0) {
        LogMessage(kLogGeneral, source, "User ID is 0, cannot update");
        return false;
    }
    try {
        db::Recordset row;
        row.Open(Format("SELECT * FROM tUser WHERE UserID = %ld", AsLong(user->ID())),
                 db::ProcessConnectionString(), db::CursorType::Keyset, db::LockType::Optimistic);
        if (row.IsEOF()) {
            LogMessage(kLogGeneral, source,
                       Format("User(ID=%ld) doesn't exist", AsLong(user->ID())));
            return false;
        }
        if (Failed(CDBUtil::SaveUserData(row, user))) {
            row.CancelUpdate();
            LogMessage(kLogDatabase, source, "Save user data failed!");
            return false;
        }
        row.Update();
        return true;
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogDatabase, source, error);
        return false;
    }
}

}  // namespace lindor::userstore
