#include "stores/StoreRows.h"

#include "db/Recordset.h"

namespace lindor::stores {
void OpenToRead(db::Recordset& rows, db::Connection& connection, const db::Query& query)
{
    rows.Open(query, connection, db::CursorType::Static, db::LockType::ReadOnly);
}

void OpenToWrite(db::Recordset& rows, db::Connection& connection, const db::Query& query,
                 db::CursorType cursor)
{
    rows.Open(query, connection, cursor, db::LockType::Optimistic);
}

bool AnyRow(db::Connection& connection, const db::Query& query)
{
    db::Recordset rows;
    rows.Open(query, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    return !rows.IsEOF();
}

std::int32_t FirstNumber(db::Connection& connection, const db::Query& query)
{
    db::Recordset row;
    row.Open(query, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    return row.IsEOF() ? 0 : NumberOf(row.Fields(0).Value());
}

bool FirstText(db::Connection& connection, const db::Query& query, std::string* text)
{
    db::Recordset row;
    row.Open(query, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    if (row.IsEOF()) return false;
    const Variant value = row.Fields(0).Value();
    *text = value.vt() == VT_BSTR ? value.text() : std::string();
    return true;
}

std::vector<std::int32_t> ReadIdentifiers(db::Connection& connection, const db::Query& query)
{
    db::Recordset rows;
    rows.Open(query, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::vector<std::int32_t> ids;
    for (; !rows.IsEOF(); rows.MoveNext()) ids.push_back(NumberOf(rows.Fields(0).Value()));
    rows.Close();
    return ids;
}

long DeleteEveryRow(db::Connection& connection, const db::Query& query)
{
    db::Recordset rows;
    OpenToWrite(rows, connection, query);
    long deleted = 0;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        rows.Delete();
        ++deleted;
    }
    rows.Close();
    return deleted;
}

void RewriteEveryRow(db::Connection& connection, const db::Query& query, const std::string& text)
{
    db::Recordset rows;
    OpenToWrite(rows, connection, query);
    for (; !rows.IsEOF(); rows.MoveNext()) {
        rows.Fields(0).SetValue(Variant::Text(text));
        rows.Update();
    }
}

}  // namespace lindor::stores
