#include "bugrecord.h"

namespace cli {

const char* const kAttachmentsKey = "Attachments";

std::vector<std::string> AllFieldNames()
{
    std::vector<std::string> names;
    for (const BugField& field : BugFields()) names.push_back(field.name);
    return names;
}

std::vector<std::string> AttachmentNames(lindor::IBug* bug)
{
    const ComPtr<lindor::IFileSet> files = ObjectOf(bug, &lindor::IBug::get_AttachedFiles);
    std::vector<std::string> names;
    const std::int32_t count = NumberOf(files.get(), &lindor::IFileSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i)
        names.push_back(TextOf(ItemOf(files.get(), i, &lindor::IFileSet::get_Item).get(),
                               &lindor::IFile::get_FileName));
    return names;
}

Json ReadBugRecord(lindor::IBug* bug, const std::vector<std::string>& columns,
                   const ReadStyle& style, bool withAttachments)
{
    Json record = Json::object();
    for (const std::string& column : columns.empty() ? AllFieldNames() : columns) {
        const BugField& field = FindBugField(column);
        record[field.name] = ReadField(bug, field, style);
    }
    if (withAttachments) record[kAttachmentsKey] = AttachmentNames(bug);
    return record;
}

}  // namespace cli
