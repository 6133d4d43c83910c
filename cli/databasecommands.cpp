#include "databasecommands.h"

#include <cmath>
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

int DatabaseCommands::Demo()
{
    const std::optional<double> today =
        options_.today.empty() ? std::optional<double>(std::floor(Now())) : ParseDateText(options_.today);
    if (!today) UsageError("--today " + options_.today + ": a date YYYY-MM-DD is needed");
    CreateDatabase(options_.path);
    try {
        DemoBuilder builder(options_.path, options_.seed, std::floor(*today));
        std::vector<Json> records;
        for (const DemoLogin& login : builder.Build(options_.bugs))
            records.push_back({{"Login", login.login},
                               {"Password", login.password},
                               {"Role", login.role},
                               {"Name", login.name}});
        std::cout << "Created " << options_.path << " with " << options_.bugs
                  << " reports. The team:\n";
        WriteRecords(records, {"Login", "Password", "Role", "Name"}, "table", std::cout);
    } catch (...) {
        std::error_code error;
        std::filesystem::remove(options_.path, error);
        throw;
    }
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
