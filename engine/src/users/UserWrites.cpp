#include "users/UserWrites.h"

#include "cipher/PasswordBlock.h"
#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "core/Guarded.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "stores/UserStore.h"

namespace lindor::userwrites {
namespace {

const Reporter kReport(ExternalClassName("UserSet"));

void ReportLoginNameTaken(const CUser& user, const char* source)
{
    kReport.Fail(Format("Login Name(%s) is already exist!", user.LoginName().c_str()), kLogDatabase,
                 source);
}

AddResult InsertUserRow(db::Connection& connection, CUser& user, std::int32_t id)
{
    const std::int32_t previousID = user.ID();
    db::Recordset row;
    stores::OpenUserForWriting(row, connection, 0);
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

AddResult AddUserRow(CUser& user, std::int32_t id)
{
    db::Connection connection(db::ProcessConnectionString());
    // The look-up and the insert form one write transaction, so two
    // programs adding the same login name at once cannot both pass it.
    db::Transaction transaction(connection);
    if (stores::LoginNameTaken(connection, user.LoginName())) {
        ReportLoginNameTaken(user, "CUserSet::RealAddUser");
        return AddResult::LoginNameTaken;
    }
    const AddResult result = InsertUserRow(connection, user, id);
    if (result == AddResult::Added) transaction.Commit();
    return result;
}

UpdateResult RewriteUserRow(CUser& user, const char* source)
{
    db::Connection connection(db::ProcessConnectionString());
    // As when adding: the look-up and the write form one write transaction.
    db::Transaction transaction(connection);
    if (stores::LoginNameTaken(connection, user.LoginName(), user.ID())) {
        ReportLoginNameTaken(user, source);
        return UpdateResult::LoginNameTaken;
    }
    db::Recordset row;
    stores::OpenUserForWriting(row, connection, user.ID());
    if (row.IsEOF()) {
        LogMessage(kLogGeneral, source, Format("User(ID=%d) doesn't exist", user.ID()));
        return UpdateResult::Failed;
    }
    if (Failed(CDBUtil::SaveUserData(row, &user))) {
        row.CancelUpdate();
        LogMessage(kLogDatabase, source, "Save user data failed!");
        return UpdateResult::Failed;
    }
    row.Update();
    row.Close();
    transaction.Commit();
    return UpdateResult::Updated;
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
    AddResult result = AddResult::Failed;
    RunLoggedStep("CUserSet::ReadAddUser", [&] {
        result = AddUserRow(user, id);
        return true;
    });
    return result;
}

bool RealRemove(std::int32_t id)
{
    const char* const source = "CUserSet::RealRemove";
    return RunLoggedStep(source, [&] {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        if (!stores::DeleteUser(connection, id)) {
            LogMessage(kLogDatabase, source, Format("User(ID=%d) does not exist!", id));
            return false;
        }
        transaction.Commit();
        return true;
    });
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
    UpdateResult result = UpdateResult::Failed;
    RunLoggedStep(source, [&] {
        result = RewriteUserRow(*user, source);
        return true;
    });
    return result;
}

}  // namespace lindor::userwrites
