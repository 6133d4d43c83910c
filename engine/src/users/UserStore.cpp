#include "users/UserStore.h"

#include "cipher/PasswordBlock.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "db/Dialect.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "projects/RowDeletion.h"
#include "users/CRight.h"

namespace lindor::userstore {
namespace {

const Reporter kReport(ExternalClassName("UserSet"));

long AsLong(std::int32_t value)
{
    return static_cast<long>(value);
}

// Whether a user other than `ownID` has the login name. Quotes inside the
// name are doubled, so every name is matched literally; the column ignores
// letter case, as the login does not.
bool LoginNameTaken(db::Connection& connection, const std::string& loginName,
                    std::int32_t ownID = 0)
{
    std::string query = "SELECT UserID FROM tUser WHERE LoginName = " + db::QuoteText(loginName);
    if (ownID != 0) query += Format(" AND UserID <> %ld", AsLong(ownID));
    db::Recordset found;
    found.Open(query, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    return !found.IsEOF();
}

void ReportLoginNameTaken(const CUser& user, const char* source)
{
    kReport.Fail(Format("Login Name(%s) is already exist!", user.LoginName().c_str()),
                 kLogDatabase, source);
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
            ReportLoginNameTaken(user, "CUserSet::RealAddUser");
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

UpdateResult RealUpdate(CUser* user)
{
    const char* const source = "CUserSet::RealUpdate";
    if (user == nullptr) {
        LogMessage(kLogGeneral, source, "No current user, cannot update");
        return UpdateResult::Failed;
    }
    if (user->ID() == 0) {
        LogMessage(kLogGeneral, source, "User ID is 0, cannot update");
        return UpdateResult::Failed;
    }
    try {
        db::Connection connection(db::ProcessConnectionString());
        // As when adding: the look-up and the write form one write transaction.
        db::Transaction transaction(connection);
        if (LoginNameTaken(connection, user->LoginName(), user->ID())) {
            ReportLoginNameTaken(*user, source);
            return UpdateResult::LoginNameTaken;
        }
        db::Recordset row;
        row.Open(Format("SELECT * FROM tUser WHERE UserID = %ld", AsLong(user->ID())), connection,
                 db::CursorType::Keyset, db::LockType::Optimistic);
        if (row.IsEOF()) {
            LogMessage(kLogGeneral, source,
                       Format("User(ID=%ld) doesn't exist", AsLong(user->ID())));
            return UpdateResult::Failed;
        }
        if (Failed(CDBUtil::SaveUserData(row, user))) {
            row.CancelUpdate();
            LogMessage(kLogDatabase, source, "Save user data failed!");
            return UpdateResult::Failed;
        }
        row.Update();
        row.Close();
        transaction.Commit();
        return UpdateResult::Updated;
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogDatabase, source, error);
        return UpdateResult::Failed;
    }
}

ComPtr<IRight> ReadStoredRight(std::int32_t userID, std::int32_t projectID)
{
    db::Recordset row;
    row.Open(Format("SELECT tRight.* FROM tRight INNER JOIN tUser ON tRight.UserRightID = "
                    "tUser.UserRightID WHERE tUser.UserID = %ld AND tRight.ProjectID = %ld",
                    AsLong(userID), AsLong(projectID)),
             db::ProcessConnectionString(), db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    if (row.IsEOF()) return nullptr;
    ComPtr<CRight> right = MakeObject<CRight>();
    // The mapping has logged why the row could not be read.
    if (Failed(CDBUtil::GetRightData(row, right.get()))) return nullptr;
    return right;
}

bool ReadStoredMayAddProjects(std::int32_t userID)
{
    db::Recordset row;
    row.Open(Format("SELECT tUserRight.AddProject FROM tUserRight INNER JOIN tUser ON "
                    "tUserRight.UserRightID = tUser.UserRightID WHERE tUser.UserID = %ld",
                    AsLong(userID)),
             db::ProcessConnectionString(), db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    return !row.IsEOF() && mapping::ReadYesNo(row.Fields(0).Value());
}

}  // namespace lindor::userstore
