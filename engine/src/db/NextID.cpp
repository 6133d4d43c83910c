#include "db/NextID.h"

#include "core/ErrorReport.h"
#include "db/Recordset.h"

namespace lindor {

std::int32_t GetNextID(const std::string& column)
{
    db::Recordset counter;
    try {
        db::Connection connection(db::ProcessConnectionString());
        // The write lock is taken before the read, so two programs can never
        // read the same counter value.
        db::Transaction transaction(connection);
        counter.Open(Format("select %s from tNextID", column.c_str()), connection,
                     db::CursorType::Dynamic, db::LockType::Pessimistic);
        const Variant stored = counter.Fields(0).Value();
        const std::int32_t id = stored.vt() == VT_I4 ? stored.i4() : 0;
        counter.Fields(0).SetValue(Variant::I4(id + 1));
        counter.Update();
        counter.Close();
        transaction.Commit();
        return id;
    } catch (const DatabaseError& error) {
        LogDatabaseError(kLogNextID, "GetNextID", error);
    }
    if (counter.IsOpen()) {
        counter.CancelUpdate();
        counter.Close();
    }
    return 0;
}

}  // namespace lindor
