// The attachments' rows (tAttachment): each is one stored file of one bug.
// Every function works on the caller's connection and throws DatabaseError.
#pragma once

#include <cstdint>

#include "db/Connection.h"
#include "db/Recordset.h"

namespace lindor::stores {

// Opens `rows` on the facts of the bug's attachments (AttachmentID, FileName,
// FileSize, FileDate), without their contents.
void OpenAttachmentList(db::Recordset& rows, db::Connection& connection, std::int32_t bugID);
// Opens `row` read-only on the whole row of attachment `id` (empty when absent).
void OpenAttachment(db::Recordset& row, db::Connection& connection, std::int32_t id);
// Opens `rows` updatable on the attachments' table, for adding a row.
void OpenAttachmentsForAdding(db::Recordset& rows, db::Connection& connection);
// Deletes attachment `id`; false when there is none.
bool DeleteAttachment(db::Connection& connection, std::int32_t id);
// Deletes every attachment of the bug.
void DeleteAttachmentsOfBug(db::Connection& connection, std::int32_t bugID);

}  // namespace lindor::stores
