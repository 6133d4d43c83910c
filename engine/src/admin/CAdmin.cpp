#include "admin/CAdmin.h"

#include <exception>

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "db/DatabaseError.h"
#include "db/NextID.h"
#include "db/Recordset.h"
#include "mapping/DBUtil.h"
#include "mapping/ValueConversion.h"
#include "projects/CProject.h"
#include "projects/CProjectSet.h"
#include "projects/ProjectReading.h"
#include "schema/CreateDB.h"
#include "users/CRight.h"
#include "users/CUser.h"
#include "users/CUserSet.h"

namespace lindor {
namespace {

const ClassRegistration registration("Admin", &CreateInstance<CAdmin>);

const Reporter& Report()
{
    static const Reporter reporter(ExternalClassName("Admin"));
    return reporter;
}

constexpr const char* kSetRightSource = "CAdmin::SetUserRight";
constexpr const char* kSetRightFailed = "Set right to user failed!";

// A set without a context holding one item per row of the query, each filled
// by the record reader. The administration object sees every row, whatever
// the rights of the user logged in.
template <class Set, class Item, class SetIface, class Iface>
HRESULT LoadSet(const char* query, HRESULT (*read)(db::Recordset&, Iface*), const char* failed,
                const char* source, SetIface** out)
{
    if (out == nullptr) return Report().FailQuietly(failed);
    *out = nullptr;
    try {
        ComPtr<Set> set = MakeObject<Set>();
        db::Recordset rows;
        rows.Open(query, db::ProcessConnectionString(), db::CursorType::ForwardOnly,
                  db::LockType::ReadOnly);
        for (; !rows.IsEOF(); rows.MoveNext()) {
            ComPtr<Item> item = MakeObject<Item>();
            // The reader has logged why it failed.
            if (read(rows, item.get()) != S_OK) return Report().FailQuietly(failed);
            set->Append(item.get());
        }
        HandOut(set, out);
        return S_OK;
    } catch (const DatabaseError& error) {
        return Report().FailDatabase(failed, source, error);
    } catch (const std::exception& error) {
        return Report().Fail(failed, kLogGeneral, source, error.what());
    }
}

// A step of the role writer that failed after its cause was logged (by the
// record mapping or the identifier allocator).
struct RoleWriteRefused {};
// The user to write the role for does not exist; already reported.
struct UserMissing {};

// The stored role number of the user.
std::int32_t StoredRoleOf(db::Recordset& user, db::Connection& connection, std::int32_t userID)
{
    user.Open(Format("SELECT UserID, UserRightID FROM tUser WHERE UserID = %ld",
                     static_cast<long>(userID)),
              connection, db::CursorType::ForwardOnly, db::LockType::Optimistic);
    if (user.IsEOF()) {
        Report().Fail(Format("User(ID=%ld) does not exist", static_cast<long>(userID)), kLogGeneral,
                      kSetRightSource);
        throw UserMissing();
    }
    return mapping::ReadWholeNumber(user.Fields("UserRightID").Value());
}

std::int32_t AllocateOrRefuse(const char* counter, const char* logText)
{
    const std::int32_t id = GetNextID(counter);
    if (id != 0) return id;
    if (logText != nullptr) LogMessage(kLogGeneral, kSetRightSource, logText);
    throw RoleWriteRefused();
}

// Reuses the role record the user refers to, or creates one and points the
// user at it. Returns the role number; `role` stays on the role's row.
std::int32_t ReuseOrCreateRole(db::Recordset& user, db::Recordset& role, db::Connection& connection,
                               std::int32_t roleID)
{
    role.Open(Format("SELECT * FROM tUserRight WHERE UserRightID = %ld", static_cast<long>(roleID)),
              connection, db::CursorType::Keyset, db::LockType::Optimistic);
    if (!role.IsEOF()) return roleID;
    roleID = AllocateOrRefuse("NextUserRightID", "GetNextID returns 0");
    role.AddNew();
    mapping::WriteWholeNumber(role.Fields("UserRightID"), roleID);
    role.Update();
    mapping::WriteWholeNumber(user.Fields("UserRightID"), roleID);
    user.Update();
    return roleID;
}

// The role's old rights rows and their available statuses.
void RemoveUserRightRelativeRecords(db::Connection& connection, std::int32_t roleID)
{
    db::Recordset rights;
    rights.Open(
        Format("SELECT RightID FROM tRight WHERE UserRightID = %ld", static_cast<long>(roleID)),
        connection, db::CursorType::Keyset, db::LockType::Optimistic);
    for (; !rights.IsEOF(); rights.MoveNext()) {
        const std::int32_t rightID = mapping::ReadWholeNumber(rights.Fields("RightID").Value());
        db::Recordset statuses;
        statuses.Open(Format("SELECT * FROM tAvailableStatus WHERE RightID = %ld",
                             static_cast<long>(rightID)),
                      connection, db::CursorType::Keyset, db::LockType::Optimistic);
        for (; !statuses.IsEOF(); statuses.MoveNext()) statuses.Delete();
        rights.Delete();
    }
}

void WriteAvailableStatuses(db::Connection& connection, IRight* right, std::int32_t rightID)
{
    ComPtr<IBugStatus> names;
    if (Failed(right->get_AvailableStatus(names.put())) || !names) return;
    std::int32_t count = 0;
    names->get_Count(&count);
    db::Recordset statuses;
    statuses.Open(
        Format("SELECT * FROM tAvailableStatus WHERE RightID = %ld", static_cast<long>(rightID)),
        connection, db::CursorType::Keyset, db::LockType::Optimistic);
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        names->get_Item(i, &name);
        statuses.AddNew();
        mapping::WriteText(statuses.Fields("StatusName"), name);
        mapping::WriteWholeNumber(statuses.Fields("RightID"), rightID);
        statuses.Update();
    }
}

bool IsAllFalse(IRight* right)
{
    std::int32_t allFalse = 0;
    return Succeeded(right->get_IsAllFalse(&allFalse)) && allFalse != 0;
}

// Writes one rights row of the role under a new identifier, which the right
// object then carries.
void WriteRight(db::Recordset& rows, db::Connection& connection, IRight* right, std::int32_t roleID)
{
    rows.AddNew();
    const std::int32_t rightID = AllocateOrRefuse("NextRightID", nullptr);
    CRight* own = ImplOf<CRight>(right);
    if (own != nullptr) own->SetID(rightID);
    if (CDBUtil::SaveRightData(rows, right) != S_OK) throw RoleWriteRefused();
    // A right of another make cannot take the new identifier itself.
    if (own == nullptr) mapping::WriteWholeNumber(rows.Fields(0), rightID);
    mapping::WriteWholeNumber(rows.Fields("UserRightID"), roleID);
    rows.Update();
    WriteAvailableStatuses(connection, right, rightID);
}

void WriteRights(db::Connection& connection, IUserRight* userRight, std::int32_t roleID)
{
    ComPtr<IRightSet> rights;
    if (Failed(userRight->get_RightSet(rights.put())) || !rights) return;
    std::int32_t count = 0;
    rights->get_Count(&count);
    db::Recordset rows;
    rows.Open(Format("SELECT * FROM tRight WHERE UserRightID = %ld", static_cast<long>(roleID)),
              connection, db::CursorType::Keyset, db::LockType::Optimistic);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IRight> right;
        if (Failed(rights->get_Item(i, right.put())) || !right) throw RoleWriteRefused();
        // A project in which the role may do nothing gets no row at all.
        if (!IsAllFalse(right.get())) WriteRight(rows, connection, right.get(), roleID);
    }
}

void WriteRole(db::Connection& connection, std::int32_t userID, IUserRight* userRight)
{
    db::Recordset user;
    db::Recordset role;
    const std::int32_t roleID =
        ReuseOrCreateRole(user, role, connection, StoredRoleOf(user, connection, userID));
    user.Close();
    std::int32_t addProject = 0;
    userRight->get_AddProject(&addProject);
    mapping::WriteYesNo(role.Fields("AddProject"), addProject != 0);
    role.Update();
    role.Close();
    RemoveUserRightRelativeRecords(connection, roleID);
    WriteRights(connection, userRight, roleID);
}

}  // namespace

HRESULT CAdmin::get_UserSet(IUserSet** out)
{
    return LoadSet<CUserSet, CUser>("SELECT * FROM tUser", &CDBUtil::GetUserData, "Get User failed",
                                    "CAdmin::get_UserSet", out);
}

// Without a context the set refuses to add, update or delete projects; the
// administration program changes projects through the context's own set.
HRESULT CAdmin::get_ProjectSet(IProjectSet** out)
{
    return LoadSet<CProjectSet, CProject>("SELECT * FROM tProject", &ReadProjectWithVersions,
                                          "Get Project failed", "CAdmin::get_ProjectSet", out);
}

// The creation has logged its cause; NewMDB adds no description of its own.
HRESULT CAdmin::NewMDB(const std::string& fileName)
{
    return CreateDB(fileName) ? S_OK : E_FAIL;
}

// The whole role in one transaction on a connection of its own: a user who
// logs in meanwhile sees either the old role or the new one.
HRESULT CAdmin::SetUserRight(std::int32_t userID, IUserRight* userRight)
{
    if (userRight == nullptr)
        return Report().Fail(kSetRightFailed, kLogGeneral, kSetRightSource, "Invalid Pointer");
    try {
        db::Connection connection(db::ProcessConnectionString());
        db::Transaction transaction(connection);
        WriteRole(connection, userID, userRight);
        transaction.Commit();
        return S_OK;
    } catch (const UserMissing&) {
        return E_FAIL;
    } catch (const RoleWriteRefused&) {
        return Report().FailQuietly(kSetRightFailed);
    } catch (const DatabaseError& error) {
        return Report().FailDatabase(kSetRightFailed, kSetRightSource, error);
    } catch (const std::exception& error) {
        return Report().Fail(kSetRightFailed, kLogGeneral, kSetRightSource, error.what());
    }
}

HRESULT CAdmin::NewSQLDB(const std::string&, const std::string&)
{
    return S_OK;
}

HRESULT CAdmin::Advise(IAdminEvents* sink, std::uint32_t* cookie)
{
    if (sinks_.Advise(sink, cookie)) return S_OK;
    return Report().Fail("Advise failed: no event sink given", kLogGeneral, "CAdmin::Advise");
}

HRESULT CAdmin::Unadvise(std::uint32_t cookie)
{
    if (sinks_.Unadvise(cookie)) return S_OK;
    return Report().Fail(Format("Unadvise failed: no subscription %u", cookie), kLogGeneral,
                         "CAdmin::Unadvise");
}

}  // namespace lindor
