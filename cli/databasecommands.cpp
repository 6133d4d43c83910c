#include "databasecommands.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "datetext.h"
#include "demobuilder.h"
#include "records.h"
#include "session.h"

namespace cli {

void CreateDatabase(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::exists(path, error))
        Refuse(path + " exists already; it was left untouched");
    const ComPtr<lindor::IAdmin> admin = CreateEngineObject<lindor::IAdmin>("Lindor.Admin.1");
    if (lindor::Succeeded(admin->NewMDB(path))) return;
    std::filesystem::remove(path, error);
    Refuse("Creating the database " + path + " failed (the error log says why)");
}

int DatabaseCommands::Create()
{
    CreateDatabase(options_.path);
    std::cout << "Created " << options_.path << "; log in as Admin with an empty password\n";
    return kExitSuccess;
}

namespace {

bool IsServerAddress(const std::string& database)
{
    return database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0;
}

// A memory file system when there is one: the demo writes hundreds of small
// transactions, each waiting for the disk otherwise; the finished file is
// then copied in one go. Elsewhere, and on a database server, the demo is
// built in place.
std::filesystem::path DemoWorkFolder(const std::string& database)
{
    std::error_code error;
    if (IsServerAddress(database)) return {};
    const std::filesystem::path memory = "/dev/shm";
    if (!std::filesystem::is_directory(memory, error) || access(memory.c_str(), W_OK) != 0)
        return {};
    std::string pattern = (memory / "nimbra-demo-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

}  // namespace

int DatabaseCommands::Demo()
{
    const std::optional<double> today = options_.today.empty()
                                            ? std::optional<double>(std::floor(Now()))
                                            : ParseDateText(options_.today);
    if (!today) UsageError("--today " + options_.today + ": a date YYYY-MM-DD is needed");
    std::error_code error;
    if (std::filesystem::exists(options_.path, error))
        Refuse(options_.path + " exists already; it was left untouched");
    const std::filesystem::path folder = DemoWorkFolder(options_.path);
    const std::string work = folder.empty() ? options_.path : (folder / "demo.mdb").string();
    std::vector<Json> records;
    try {
        CreateDatabase(work);
        DemoBuilder builder(work, options_.seed, std::floor(*today));
        for (const DemoLogin& login : builder.Build(options_.bugs))
            records.push_back({{"Login", login.login},
                               {"Password", login.password},
                               {"Role", login.role},
                               {"Name", login.name}});
    } catch (...) {
        std::filesystem::remove(work, error);
        if (!folder.empty()) std::filesystem::remove_all(folder, error);
        throw;
    }
    if (!folder.empty()) {
        std::filesystem::copy_file(work, options_.path, error);
        std::filesystem::remove_all(folder);
        if (error) Refuse("Cannot write " + options_.path + ": " + error.message());
    }
    std::cout << "Created " << options_.path << " with " << options_.bugs
              << " reports. The team:\n";
    WriteRecords(records, {"Login", "Password", "Role", "Name"}, "table", std::cout);
    return kExitSuccess;
}

int DatabaseCommands::Sync()
{
    Session session(options_.connection);
    session.Login();
    Check(session.context()->Synchronize(), "Synchronization Failed!");
    return kExitSuccess;
}

}  // namespace cli
