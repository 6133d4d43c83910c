#include "attachmentcommands.h"

#include <filesystem>
#include <iostream>

#include "bugsets.h"
#include "datetext.h"
#include "records.h"

namespace cli {
namespace {

using lindor::IFile;
using lindor::IFileSet;

// The attachment of that name, exactly, else without regard to letter case.
ComPtr<IFile> FileNamed(IFileSet* files, const std::string& name)
{
    const std::int32_t count = NumberOf(files, &IFileSet::get_Count);
    ComPtr<IFile> similar;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IFile> file = ItemOf(files, i, &IFileSet::get_Item);
        const std::string fileName = TextOf(file.get(), &IFile::get_FileName);
        if (fileName == name) return file;
        if (!similar && SameText(fileName, name)) similar = file;
    }
    return similar;
}

std::string Destination(const std::string& destination, const std::string& name)
{
    std::error_code error;
    if (std::filesystem::is_directory(destination, error))
        return (std::filesystem::path(destination) / name).string();
    return destination;
}

}  // namespace

AttachmentCommands::AttachmentCommands(const Options& options)
    : options_(options), session_(options.connection)
{
    session_.Login();
    session_.EnterProject();
}

ComPtr<IFileSet> AttachmentCommands::FilesOfBug()
{
    const FoundBug found = FindBug(session_, options_.id);
    return ObjectOf(found.bug.get(), &lindor::IBug::get_AttachedFiles);
}

int AttachmentCommands::Attach()
{
    const ComPtr<IFileSet> files = FilesOfBug();
    ComPtr<IFile> added;
    Check(files->Add(options_.file, added.put()), "Add file to database failed!");
    std::cout << TextOf(added.get(), &IFile::get_FileName) << '\n';
    return kExitSuccess;
}

int AttachmentCommands::List()
{
    const ComPtr<IFileSet> files = FilesOfBug();
    std::vector<Json> records;
    const std::int32_t count = NumberOf(files.get(), &IFileSet::get_Count);
    const bool table = options_.format != "csv" && options_.format != "json";
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<IFile> file = ItemOf(files.get(), i, &IFileSet::get_Item);
        lindor::Date date = 0.0;
        Check(file->get_FileDate(&date), "Reading the file's date failed");
        Json record;
        record["ID"] = NumberOf(file.get(), &IFile::get_ID);
        record["FileName"] = TextOf(file.get(), &IFile::get_FileName);
        record["FileSize"] = NumberOf(file.get(), &IFile::get_FileSize);
        record["FileDate"] = table ? ShortDateText(date) : IsoDateText(date);
        records.push_back(std::move(record));
    }
    WriteRecords(records, {"ID", "FileName", "FileSize", "FileDate"},
                 table ? "table" : options_.format, std::cout);
    return kExitSuccess;
}

int AttachmentCommands::Get()
{
    const ComPtr<IFileSet> files = FilesOfBug();
    const ComPtr<IFile> file = FileNamed(files.get(), options_.name);
    if (!file) Refuse("Bug " + std::to_string(options_.id) + " has no attachment " + options_.name);
    const std::string destination =
        Destination(options_.destination, TextOf(file.get(), &IFile::get_FileName));
    std::error_code error;
    if (std::filesystem::exists(destination, error))
        Refuse(destination + " exists already; nothing was written");
    Check(file->GetFile(destination), "Get File Failed!");
    return kExitSuccess;
}

}  // namespace cli
