// Helpers shared by the context, project, user and mapping tests: rows that
// no engine operation of these families writes (roles, rights, bugs,
// attachments, classifications), counts, a failing trigger, a logged-in
// context and an event recorder.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "context/CExeContext.h"
#include "core/ComObject.h"
#include "core/ErrorReport.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "support/TestDatabase.h"

namespace lindor::test {

using ColumnValues = std::vector<std::pair<std::string, Variant>>;

// The description the last failing call left for its caller.
inline std::string ErrorText()
{
    return LastCallerError().description;
}

// The names of a name list (statuses, severities, ...), in list order.
template <class List>
std::vector<std::string> NamesOf(List* list)
{
    std::int32_t count = 0;
    list->get_Count(&count);
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        list->get_Item(i, &name);
        names.push_back(name);
    }
    return names;
}

inline void InsertRow(const std::string& table, const ColumnValues& values)
{
    db::Recordset rows;
    rows.Open(table, db::ProcessConnectionString(), db::CursorType::Keyset,
              db::LockType::Optimistic, db::CommandKind::Table);
    rows.AddNew();
    for (const auto& [column, value] : values) rows.Fields(column).SetValue(value);
    rows.Update();
}

inline long CountRows(const std::string& sql)
{
    db::Recordset rows;
    rows.Open(sql, db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
    return rows.RecordCount();
}

inline Variant ReadValue(const std::string& sql, const std::string& column)
{
    db::Recordset rows;
    rows.Open(sql, db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
    if (rows.IsEOF()) return Variant();
    return rows.Fields(column).Value();
}

inline std::int32_t NextID(const std::string& counter)
{
    return ReadValue("SELECT * FROM tNextID", counter).i4();
}

// Runs SQL directly on the database (schema changes such as test triggers).
inline void ExecuteSql(const std::string& sql)
{
    db::Connection connection(db::ProcessConnectionString());
    connection.database().driver().Execute(sql);
}

// Makes every delete from `table` fail, as a database refusing the change.
inline void RefuseDeletesFrom(const std::string& table)
{
    RefuseChange("refuse_delete_" + table, "DELETE ON " + table, "deleting is refused");
}

inline void AddRole(std::int32_t roleID, bool addProject)
{
    InsertRow("tUserRight",
              {{"UserRightID", Variant::I4(roleID)}, {"AddProject", Variant::Bool(addProject)}});
}

// A rights row with the named tRight flag columns set and the others clear.
inline void AddRight(std::int32_t rightID, std::int32_t roleID, std::int32_t projectID,
                     std::initializer_list<const char*> flagColumns = {})
{
    ColumnValues values = {{"RightID", Variant::I4(rightID)},
                           {"UserRightID", Variant::I4(roleID)},
                           {"ProjectID", Variant::I4(projectID)}};
    for (const char* column : flagColumns) values.emplace_back(column, Variant::Bool(true));
    InsertRow("tRight", values);
}

inline void AddAvailableStatus(std::int32_t rightID, const std::string& status)
{
    InsertRow("tAvailableStatus",
              {{"RightID", Variant::I4(rightID)}, {"StatusName", Variant::Text(status)}});
}

// A user without password; role 0 means none.
inline void AddUser(std::int32_t userID, const std::string& login, std::int32_t roleID = 0)
{
    InsertRow("tUser", {{"UserID", Variant::I4(userID)},
                        {"UserRightID", Variant::I4(roleID)},
                        {"UserName", Variant::Text(login + " name")},
                        {"LoginName", Variant::Text(login)}});
}

inline void AddBug(std::int32_t bugID, std::int32_t reportedInVersion,
                   std::int32_t fixedInVersion = 0)
{
    InsertRow("tBugReport", {{"BugID", Variant::I4(bugID)},
                             {"SeverityName", Variant::Text("Normal")},
                             {"StatusName", Variant::Text("New")},
                             {"PriorityName", Variant::Text("Normal")},
                             {"ReproductiveName", Variant::Text("Always")},
                             {"Description", Variant::Text("bug " + std::to_string(bugID))},
                             {"ReportedInVersionID", Variant::I4(reportedInVersion)},
                             {"FixedInVersionID", Variant::I4(fixedInVersion)},
                             {"BugType", Variant::I4(0)}});
}

inline void AddAttachment(std::int32_t attachmentID, std::int32_t bugID)
{
    db::Recordset rows;
    rows.Open("tAttachment", db::ProcessConnectionString(), db::CursorType::Keyset,
              db::LockType::Optimistic, db::CommandKind::Table);
    rows.AddNew();
    rows.Fields("AttachmentID").SetValue(Variant::I4(attachmentID));
    rows.Fields("BugID").SetValue(Variant::I4(bugID));
    rows.Fields("FileName").SetValue(Variant::Text("log.txt"));
    rows.Fields("FileData").AppendChunk({1, 2, 3});
    rows.Update();
}

inline void AddClassification(std::int32_t classID, std::int32_t projectID)
{
    InsertRow("tClassification",
              {{"ClassificationID", Variant::I4(classID)},
               {"ProjectID", Variant::I4(projectID)},
               {"ClassName", Variant::Text("class " + std::to_string(classID))}});
}

inline void AssignClassification(std::int32_t userID, std::int32_t classID)
{
    InsertRow("tUserClassification",
              {{"UserID", Variant::I4(userID)}, {"ClassificationID", Variant::I4(classID)}});
}

// Records every event a context fires.
class EventRecorder final : public ComObject<IExeContextEvents> {
public:
    struct Login {
        std::int32_t ok;
        std::string login;
        std::string psw;
    };
    struct Active {
        std::int32_t ok;
        std::int32_t projectID;
        std::int32_t versionID;
    };

    HRESULT OnLogin(std::int32_t ok, const std::string& login, const std::string& psw) override
    {
        logins.push_back({ok, login, psw});
        return S_OK;
    }
    HRESULT OnActiveProject(std::int32_t ok, std::int32_t projectID,
                            std::int32_t versionID) override
    {
        actives.push_back({ok, projectID, versionID});
        return S_OK;
    }

    std::vector<Login> logins;
    std::vector<Active> actives;
};

// A context with the database opened and, when `login` is given, logged in.
inline ComPtr<CExeContext> OpenContext(const std::string& path, const std::string& login = "",
                                       const std::string& psw = "")
{
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    EXPECT_EQ(context->OpenAccessDB(path), S_OK);
    if (!login.empty()) {
        EXPECT_EQ(context->Login(login, psw), S_OK) << LastCallerError().description;
    }
    return context;
}

}  // namespace lindor::test
