#include "stores/AttachmentStore.h"

#include "stores/StoreRows.h"

namespace lindor::stores {

void OpenAttachmentList(db::Recordset& rows, db::Connection& connection, std::int32_t bugID)
{
    rows.Open({"SELECT AttachmentID, FileName, FileSize, FileDate FROM tAttachment "
               "WHERE BugID = ?",
               bugID},
              connection, db::CursorType::Keyset, db::LockType::ReadOnly);
}

void OpenAttachment(db::Recordset& row, db::Connection& connection, std::int32_t id)
{
    OpenToRead(row, connection, {"SELECT * FROM tAttachment WHERE AttachmentID = ?", id});
}

void OpenAttachmentsForAdding(db::Recordset& rows, db::Connection& connection)
{
    OpenToWrite(rows, connection, "SELECT * FROM tAttachment");
}

bool DeleteAttachment(db::Connection& connection, std::int32_t id)
{
    return DeleteEveryRow(connection,
                          {"SELECT AttachmentID FROM tAttachment WHERE AttachmentID = ?", id}) > 0;
}

void DeleteAttachmentsOfBug(db::Connection& connection, std::int32_t bugID)
{
    DeleteEveryRow(connection, {"SELECT AttachmentID FROM tAttachment WHERE BugID = ?", bugID});
}

}  // namespace lindor::stores
