// A bug as a record: its fields by name, and the names of its attachments.
#pragma once

#include <string>
#include <vector>

#include "fieldvalues.h"

namespace cli {

extern const char* const kAttachmentsKey;

// The fields named by `columns` (every field when empty), plus the
// attachments' names under kAttachmentsKey when asked for.
Json ReadBugRecord(lindor::IBug* bug, const std::vector<std::string>& columns,
                   const ReadStyle& style, bool withAttachments);

// The names of every field, in record order.
std::vector<std::string> AllFieldNames();

std::vector<std::string> AttachmentNames(lindor::IBug* bug);

}  // namespace cli
