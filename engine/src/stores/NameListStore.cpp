#include "stores/NameListStore.h"

namespace lindor::stores {
namespace {

void OpenList(db::Recordset& rows, db::Connection& connection, const char* sql)
{
    rows.Open(sql, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
}

}  // namespace

void OpenStatusNames(db::Recordset& rows, db::Connection& connection)
{
    OpenList(rows, connection, "SELECT statusname FROM tStatus");
}

void OpenSeverityNames(db::Recordset& rows, db::Connection& connection)
{
    OpenList(rows, connection, "SELECT * FROM tSeverity");
}

void OpenPriorityNames(db::Recordset& rows, db::Connection& connection)
{
    OpenList(rows, connection, "SELECT * FROM tPriority");
}

void OpenReproductiveNames(db::Recordset& rows, db::Connection& connection)
{
    OpenList(rows, connection, "SELECT * FROM tReproductive");
}

void OpenSystemRow(db::Recordset& row, db::Connection& connection)
{
    OpenList(row, connection, "SELECT * FROM tSystem");
}

}  // namespace lindor::stores
