#include "schema/CreateDB.h"

#include "core/DateTime.h"
#include "core/ErrorReport.h"
#include "db/Recordset.h"
#include "db/SchemaType.h"
#include "schema/Adox.h"

namespace lindor {

const char* const kDatabaseVersion = "2.5";

namespace {

using db::SchemaType;

struct ColumnSpec {
    const char* name;
    SchemaType type;
    int size;
    bool required;
};

struct TableSpec {
    const char* name;
    std::vector<ColumnSpec> columns;
    bool hasPrimaryKey;  // "PKey" on the first column
};

struct ForeignKeySpec {
    const char* table;
    const char* name;
    const char* column;
    const char* relatedTable;
    const char* relatedColumn;
};

constexpr bool R = true;   // required
constexpr bool N = false;  // nullable

ColumnSpec LongColumn(const char* name, bool required)
{
    return {name, SchemaType::Long, 0, required};
}
ColumnSpec TextColumn(const char* name, bool required)
{
    return {name, SchemaType::Text, 255, required};
}
ColumnSpec MemoColumn(const char* name, bool required)
{
    return {name, SchemaType::Memo, 0, required};
}
ColumnSpec DateColumn(const char* name, bool required)
{
    return {name, SchemaType::Date, 0, required};
}
ColumnSpec YesNoColumn(const char* name)
{
    return {name, SchemaType::YesNo, 0, R};
}
ColumnSpec BinaryColumn(const char* name, bool required)
{
    return {name, SchemaType::LongBinary, 0, required};
}

std::vector<ColumnSpec> RightColumns()
{
    std::vector<ColumnSpec> columns = {LongColumn("RightID", R), LongColumn("UserRightID", R),
                                       LongColumn("ProjectID", R)};
    for (const char* flag : {"Add",
                             "Delete",
                             "Read",
                             "EditType",
                             "EditClass",
                             "EditPriority",
                             "EditSeverity",
                             "EditReproductive",
                             "EditReportedInProject",
                             "EditReportedInVersion",
                             "EditReportedDate",
                             "EditFixedDate",
                             "EditFixedInVersion",
                             "EditVerifiedDate",
                             "EditEstimatedTime",
                             "EditDateDue",
                             "EditDescription",
                             "EditRecreatestep",
                             "EditWorkAround",
                             "EditReport",
                             "EditResolution",
                             "EditAttachment",
                             "ReportGen",
                             "Print",
                             "ViewStatistic",
                             "Add_Edit_Del_BugClass",
                             "Add_Edit_Del_BugStatus",
                             "Add_Edit_Del_BugSeverity",
                             "Add_Edit_Del_BugPriority",
                             "Add_Edit_Del_BugReproductive",
                             "AssignProjectToUser",
                             "AssignClassToUser",
                             "AddProject",
                             "EditProject",
                             "DeleteProject"})
        columns.push_back(YesNoColumn(flag));
    return columns;
}

const std::vector<TableSpec>& Tables()
{
    static const std::vector<TableSpec> tables = {
        {"tAttachment",
         {LongColumn("AttachmentID", R), LongColumn("BugID", R), TextColumn("FileName", R),
          LongColumn("FileSize", N), DateColumn("FileDate", N), BinaryColumn("FileData", R)},
         true},
        {"tUser",
         {LongColumn("UserID", R), LongColumn("UserRightID", N), TextColumn("UserName", R),
          TextColumn("LoginName", R), MemoColumn("UserDescrp", N), BinaryColumn("Password", N),
          TextColumn("EMail", N), TextColumn("Position", N), TextColumn("Department", N),
          TextColumn("Address", N), TextColumn("Phone", N)},
         true},
        {"tRight", RightColumns(), true},
        {"tUserRight", {LongColumn("UserRightID", R), YesNoColumn("AddProject")}, true},
        {"tProject",
         {LongColumn("ProjectID", R), TextColumn("Name", R), MemoColumn("Description", N)},
         true},
        {"tVersion",
         {LongColumn("VersionID", R), LongColumn("ProjectID", R), TextColumn("VersionName", R),
          MemoColumn("VersionDesrp", N), DateColumn("ReleaseDate", N)},
         true},
        {"tClassification",
         {LongColumn("ClassificationID", R), LongColumn("ProjectID", R),
          TextColumn("ClassName", R)},
         true},
        {"tStatus", {TextColumn("StatusName", R)}, true},
        {"tSeverity", {TextColumn("SeverityName", R)}, true},
        {"tReproductive", {TextColumn("ReproductiveName", R)}, true},
        {"tPriority", {TextColumn("PriorityName", R)}, true},
        {"tAvailableStatus", {TextColumn("StatusName", R), LongColumn("RightID", R)}, false},
        {"tUserClassification",
         {LongColumn("UserID", R), LongColumn("ClassificationID", R)},
         false},
        {"tBugReport",
         {LongColumn("BugID", R),
          TextColumn("SeverityName", R),
          TextColumn("StatusName", R),
          TextColumn("PriorityName", R),
          TextColumn("ReproductiveName", R),
          TextColumn("Description", R),
          LongColumn("ClassID", N),
          TextColumn("Classification", N),
          MemoColumn("Report", N),
          MemoColumn("RecreateStep", N),
          MemoColumn("WorkAround", N),
          MemoColumn("Resolution", N),
          LongColumn("ReportedByID", N),
          TextColumn("ReportedBy", N),
          DateColumn("ReportedDate", N),
          LongColumn("ReportedInPrjID", N),
          TextColumn("ReportedInPrj", N),
          LongColumn("ReportedInVersionID", N),
          TextColumn("ReportedInVersion", N),
          LongColumn("FixedByID", N),
          TextColumn("FixedBy", N),
          LongColumn("FixedInVersionID", N),
          TextColumn("FixedInVersion", N),
          LongColumn("VerifiedByID", N),
          TextColumn("VerifiedBy", N),
          DateColumn("VerifiedDate", N),
          LongColumn("LastModifiedByID", N),
          TextColumn("LastModifiedBy", N),
          DateColumn("LastModifiedDate", N),
          DateColumn("FixedDate", N),
          DateColumn("EstimatedTime", N),
          DateColumn("DateDue", N),
          LongColumn("BugType", R)},
         true},
        {"tNextID",
         {LongColumn("NextUserID", R), LongColumn("NextSysInfoID", R), LongColumn("NextRightID", R),
          LongColumn("NextUserRightID", R), LongColumn("NextBugID", R),
          LongColumn("NextClassID", R), LongColumn("NextAttachmentID", R),
          LongColumn("NextProjectID", R), LongColumn("NextVersionID", R)},
         false},
        {"tSystem", {TextColumn("Version", R)}, false},
        {"tUserSystemInfo",
         {LongColumn("UserSystemInfoID", R), LongColumn("UserID", N), TextColumn("OS", N),
          TextColumn("OSBuild", N), TextColumn("ServicePack", N), TextColumn("IE version", N),
          MemoColumn("NetEnvironment", N), TextColumn("CPU", N), TextColumn("Memory", N),
          TextColumn("HardDisk", N), MemoColumn("Note", N)},
         true},
    };
    return tables;
}

const std::vector<ForeignKeySpec>& ForeignKeys()
{
    static const std::vector<ForeignKeySpec> keys = {
        {"tBugReport", "Status", "StatusName", "tStatus", "StatusName"},
        {"tBugReport", "Priority", "PriorityName", "tPriority", "PriorityName"},
        {"tBugReport", "Reproductive", "ReproductiveName", "tReproductive", "ReproductiveName"},
        {"tBugReport", "Severity", "SeverityName", "tSeverity", "SeverityName"},
        {"tAttachment", "Bug", "BugID", "tBugReport", "BugID"},
        {"tAvailableStatus", "AStatus", "StatusName", "tStatus", "StatusName"},
        {"tAvailableStatus", "RightID", "RightID", "tRight", "RightID"},
        {"tRight", "UserRight", "UserRightID", "tUserRight", "UserRightID"},
        {"tRight", "Project", "ProjectID", "tProject", "ProjectID"},
        {"tClassification", "Prj", "ProjectID", "tProject", "ProjectID"},
        {"tUserClassification", "User", "UserID", "tUser", "UserID"},
        {"tUserClassification", "Classification", "ClassificationID", "tClassification",
         "ClassificationID"},
        {"tVersion", "PrjVer", "ProjectID", "tProject", "ProjectID"},
        {"tUserSystemInfo", "SysInfo", "UserID", "tUser", "UserID"},
    };
    return keys;
}

using FieldValues = std::vector<std::pair<const char*, Variant>>;

struct DefaultRows {
    const char* table;
    std::vector<FieldValues> rows;
};

std::vector<FieldValues> NameRows(const char* column, std::initializer_list<const char*> names)
{
    std::vector<FieldValues> rows;
    for (const char* name : names) rows.push_back({{column, Variant::Text(name)}});
    return rows;
}

std::vector<DefaultRows> DefaultData(Date created)
{
    const auto version = [created](int id, int project, const char* name) {
        return FieldValues{{"VersionID", Variant::I4(id)},
                           {"ProjectID", Variant::I4(project)},
                           {"VersionName", Variant::Text(name)},
                           {"ReleaseDate", Variant::Date(created)}};
    };
    return {
        {"tUser",
         {{{"UserID", Variant::I4(1)},
           {"UserRightID", Variant::I4(0)},
           {"UserName", Variant::Text("Admin")},
           {"LoginName", Variant::Text("Admin")},
           {"UserDescrp", Variant::Text("for administration")}}}},
        {"tNextID",
         {{{"NextUserID", Variant::I4(2)},
           {"NextSysInfoID", Variant::I4(1)},
           {"NextRightID", Variant::I4(1)},
           {"NextUserRightID", Variant::I4(1)},
           {"NextBugID", Variant::I4(1)},
           {"NextClassID", Variant::I4(1)},
           {"NextAttachmentID", Variant::I4(1)},
           {"NextProjectID", Variant::I4(3)},
           {"NextVersionID", Variant::I4(5)}}}},
        {"tPriority", NameRows("PriorityName", {"High", "Low", "Normal"})},
        {"tStatus", NameRows("StatusName",
                             {"Active", "By Design", "Cannot Reproduce", "Resolved", "In Process",
                              "New", "Postponed", "Verified", "Waiting", "Will Not Fix"})},
        {"tReproductive",
         NameRows("ReproductiveName", {"Always", "Never", "Scarcely", "Sometimes"})},
        {"tSeverity",
         NameRows("SeverityName", {"Crash", "Critical", "Moderate", "Normal", "Trivial"})},
        {"tSystem", {{{"Version", Variant::Text(kDatabaseVersion)}}}},
        {"tProject",
         {{{"ProjectID", Variant::I4(1)}, {"Name", Variant::Text("Project 1")}},
          {{"ProjectID", Variant::I4(2)}, {"Name", Variant::Text("Project 2")}}}},
        {"tVersion",
         {version(1, 1, "Version 1.0"), version(2, 1, "Version 2.0"), version(3, 2, "Version 1.0"),
          version(4, 2, "Version 2.0")}},
    };
}

void BuildSchema(Adox& adox, const std::string& fileName)
{
    adox.CreateDatabase(fileName);
    for (const TableSpec& table : Tables()) adox.CreateTable(table.name);
    for (const TableSpec& plan : Tables()) {
        AdoxTable& table = adox.GetTable(plan.name);
        for (std::size_t i = 0; i < plan.columns.size(); ++i) {
            const ColumnSpec& c = plan.columns[i];
            adox.AddColumn(table, c.name, static_cast<int>(c.type), c.size, c.required);
            if (i == 0 && plan.hasPrimaryKey) adox.AddPrimaryKey(table, "PKey", c.name);
        }
    }
    for (const ForeignKeySpec& key : ForeignKeys())
        adox.AddForeignKey(adox.GetTable(key.table), key.name, key.column, key.relatedTable,
                           key.relatedColumn);
    // A bug's attachments are listed by its number; files made before this
    // index existed work without it, only slower.
    adox.AddIndex(adox.GetTable("tAttachment"), "tAttachmentBugID", "BugID");
    adox.WriteSchema();
}

void WriteDefaultRows(const std::string& fileName)
{
    db::Connection connection(db::BuildConnectionString(fileName));
    db::Transaction transaction(connection);
    for (const DefaultRows& table : DefaultData(Now())) {
        db::Recordset rows;
        rows.Open(table.table, connection, db::CursorType::Dynamic, db::LockType::Optimistic,
                  db::CommandKind::Table);
        for (const FieldValues& row : table.rows) {
            rows.AddNew();
            for (const auto& [column, value] : row) rows.Fields(column).SetValue(value);
            rows.Update();
        }
        rows.Close();
    }
    transaction.Commit();
}

}  // namespace

std::vector<std::string> DatabaseTableNames()
{
    std::vector<std::string> names;
    for (const TableSpec& table : Tables()) names.push_back(table.name);
    return names;
}

bool CreateDB(const std::string& fileName)
{
    try {
        Adox adox;
        BuildSchema(adox, fileName);
        WriteDefaultRows(fileName);
        return true;
    } catch (const AdoXError& error) {
        LogMessage(kLogDatabase, error.Source, error.Description);
    } catch (const AdoxFailure& failure) {
        LogMessage(kLogDatabase, "CreateDB", failure.what());
    } catch (const DatabaseError& error) {
        LogMessage(kLogDatabase, "CreateDB", error.description());
    }
    return false;
}

}  // namespace lindor
