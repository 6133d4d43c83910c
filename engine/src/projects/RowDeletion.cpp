#include "projects/RowDeletion.h"

#include "db/Recordset.h"
#include "mapping/ValueConversion.h"

namespace lindor {

long DeleteEveryRow(db::Connection& connection, const std::string& sql)
{
    db::Recordset rows;
    rows.Open(sql, connection, db::CursorType::Keyset, db::LockType::Optimistic);
    long deleted = 0;
    while (!rows.IsEOF()) {
        rows.Delete();
        ++deleted;
        rows.MoveNext();
    }
    rows.Close();
    return deleted;
}

std::vector<std::int32_t> ReadIdentifiers(db::Connection& connection, const std::string& sql)
{
    db::Recordset rows;
    rows.Open(sql, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::vector<std::int32_t> ids;
    for (; !rows.IsEOF(); rows.MoveNext())
        ids.push_back(mapping::ReadWholeNumber(rows.Fields(0).Value()));
    rows.Close();
    return ids;
}

}  // namespace lindor
