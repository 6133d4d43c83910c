#include "stores/ClassificationStore.h"

#include "stores/BugStore.h"
#include "stores/StoreRows.h"

namespace lindor::stores {

void OpenClassificationsOfProject(db::Recordset& rows, db::Connection& connection,
                                  std::int32_t projectID)
{
    rows.Open({"SELECT * FROM tClassification WHERE ProjectID = ?", projectID}, connection,
              db::CursorType::Keyset, db::LockType::ReadOnly);
}

std::set<std::int32_t> ClassificationIDsOfProject(db::Connection& connection,
                                                  std::int32_t projectID)
{
    const auto ids = ReadIdentifiers(
        connection,
        {"SELECT ClassificationID FROM tClassification WHERE ProjectID = ?", projectID});
    return std::set<std::int32_t>(ids.begin(), ids.end());
}

void OpenClassificationNames(db::Recordset& rows, db::Connection& connection)
{
    rows.Open("SELECT ClassificationID, ClassName FROM tClassification", connection,
              db::CursorType::ForwardOnly, db::LockType::ReadOnly);
}

bool ReadClassificationName(db::Connection& connection, std::int32_t id, std::string* name)
{
    return FirstText(
        connection, {"SELECT ClassName FROM tClassification WHERE ClassificationID = ?", id}, name);
}

std::int32_t ProjectOfClassification(db::Connection& connection, std::int32_t id)
{
    return FirstNumber(connection,
                       {"SELECT ProjectID FROM tClassification WHERE ClassificationID = ?", id});
}

void OpenClassificationsForAdding(db::Recordset& rows, db::Connection& connection)
{
    OpenToWrite(rows, connection, "SELECT * FROM tClassification");
}

void OpenClassificationForWriting(db::Recordset& row, db::Connection& connection, std::int32_t id)
{
    OpenToWrite(row, connection,
                {"SELECT ClassificationID, ClassName FROM tClassification WHERE "
                 "ClassificationID = ?",
                 id});
}

void DeleteClassification(db::Connection& connection, std::int32_t id)
{
    DetachBugsFromClassification(connection, id);
    DeleteEveryRow(connection,
                   {"SELECT ClassificationID FROM tClassification WHERE ClassificationID = ?", id});
}

}  // namespace lindor::stores
