#include "catalogcommands.h"

#include <iostream>
#include <set>

#include "records.h"
#include "roletemplates.h"

namespace cli {
namespace {

using lindor::IExeContext;

// The built-in administrator, who has every right without a role.
constexpr std::int32_t kAdministratorID = 1;

std::string FormatOf(const Options& options)
{
    return options.format.empty() ? "table" : options.format;
}

Json VersionsOf(lindor::IProject* project)
{
    Json names = Json::array();
    const std::int32_t count = NumberOf(project, &lindor::IProject::get_VersionCount);
    for (std::int32_t i = 0; i < count; ++i)
        names.push_back(TextOf(ItemOf(project, i, &lindor::IProject::get_Version).get(),
                               &lindor::IVersion::get_Name));
    return names;
}

}  // namespace

CatalogCommands::CatalogCommands(const Options& options)
    : options_(options), session_(options.connection)
{
    session_.Login();
}

int CatalogCommands::Projects()
{
    const ComPtr<lindor::IProjectSet> projects =
        session_.userID() == kAdministratorID
            ? ObjectOf(session_.context(), &IExeContext::get_ProjectSet)
            : ObjectOf(session_.context(), &IExeContext::get_CurUserProjectSet);
    std::vector<Json> records;
    const std::int32_t count = NumberOf(projects.get(), &lindor::IProjectSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IProject> project =
            ItemOf(projects.get(), i, &lindor::IProjectSet::get_Item);
        Json record;
        record["ID"] = NumberOf(project.get(), &lindor::IProject::get_ID);
        record["Name"] = TextOf(project.get(), &lindor::IProject::get_Name);
        record["Description"] = TextOf(project.get(), &lindor::IProject::get_Description);
        record["Versions"] = VersionsOf(project.get());
        records.push_back(std::move(record));
    }
    WriteRecords(records, {"ID", "Name", "Versions", "Description"}, FormatOf(options_), std::cout);
    return kExitSuccess;
}

std::string CatalogCommands::RoleName(lindor::IUser* user)
{
    if (NumberOf(user, &lindor::IUser::get_ID) == kAdministratorID) return "Administrator";
    const ComPtr<lindor::IUserRight> role = ObjectOf(user, &lindor::IUser::get_Right);
    const ComPtr<lindor::IRightSet> rights =
        ObjectOf(role.get(), &lindor::IUserRight::get_RightSet);
    const std::int32_t count = NumberOf(rights.get(), &lindor::IRightSet::get_Count);
    std::set<std::string> names;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string name =
            RoleTemplateOf(ItemOf(rights.get(), i, &lindor::IRightSet::get_Item).get());
        names.insert(name.empty() ? "Custom" : name);
    }
    if (names.empty()) return "None";
    return names.size() == 1 ? *names.begin() : "Custom";
}

int CatalogCommands::Users()
{
    const ComPtr<lindor::IUserSet> users = ObjectOf(session_.context(), &IExeContext::get_AllUser);
    std::vector<Json> records;
    const std::int32_t count = NumberOf(users.get(), &lindor::IUserSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IUser> user = ItemOf(users.get(), i, &lindor::IUserSet::get_Item);
        Json record;
        record["ID"] = NumberOf(user.get(), &lindor::IUser::get_ID);
        record["Login"] = TextOf(user.get(), &lindor::IUser::get_LoginName);
        record["Name"] = TextOf(user.get(), &lindor::IUser::get_UserName);
        record["Role"] = RoleName(user.get());
        records.push_back(std::move(record));
    }
    WriteRecords(records, {"ID", "Login", "Name", "Role"}, FormatOf(options_), std::cout);
    return kExitSuccess;
}

}  // namespace cli
