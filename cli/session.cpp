#include "session.h"

#include <cstdlib>

#include "nameditem.h"
#include "password.h"

namespace cli {
namespace {

std::string FromOptionOrEnvironment(const std::string& option, const char* variable)
{
    if (!option.empty()) return option;
    const char* value = std::getenv(variable);
    return value != nullptr ? value : std::string();
}

std::vector<NamedItem> ProjectsOf(lindor::IProjectSet* projects)
{
    std::vector<NamedItem> items;
    const std::int32_t count = NumberOf(projects, &lindor::IProjectSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IProject> project =
            ItemOf(projects, i, &lindor::IProjectSet::get_Item);
        items.push_back({NumberOf(project.get(), &lindor::IProject::get_ID),
                         TextOf(project.get(), &lindor::IProject::get_Name)});
    }
    return items;
}

ComPtr<lindor::IProject> ProjectWithID(lindor::IProjectSet* projects, std::int32_t id)
{
    const std::int32_t count = NumberOf(projects, &lindor::IProjectSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<lindor::IProject> project = ItemOf(projects, i, &lindor::IProjectSet::get_Item);
        if (NumberOf(project.get(), &lindor::IProject::get_ID) == id) return project;
    }
    return nullptr;
}

}  // namespace

std::string DatabasePath(const ConnectionOptions& options)
{
    const std::string path = FromOptionOrEnvironment(options.database, "NIMBRA_DB");
    if (path.empty()) UsageError("No database given: use --db PATH or set NIMBRA_DB");
    return path;
}

Session::Session(const ConnectionOptions& options)
    : options_(options), context_(CreateEngineObject<lindor::IExeContext>("Lindor.ExeContext.1"))
{
    const std::string path = DatabasePath(options_);
    Check(context_->OpenAccessDB(path), "Open database " + path + " failed");
}

Session::~Session()
{
    context_->Close();
}

void Session::Login()
{
    const std::string login = FromOptionOrEnvironment(options_.user, "NIMBRA_USER");
    if (login.empty()) UsageError("No user given: use --user LOGIN or set NIMBRA_USER");
    LoginAs(login, ObtainPassword(login));
}

void Session::LoginAs(const std::string& login, const std::string& password)
{
    Check(context_->Login(login, password), "User Name or password is incorrect!");
    userID_ = NumberOf(context_.get(), &lindor::IExeContext::get_CurUserID);
}

ComPtr<lindor::IProject> Session::ChooseProject() const
{
    const ComPtr<lindor::IProjectSet> mine =
        ObjectOf(context_.get(), &lindor::IExeContext::get_CurUserProjectSet);
    const std::vector<NamedItem> projects = ProjectsOf(mine.get());
    if (options_.project.empty()) {
        if (projects.empty()) Refuse("You have no project to work in; ask your manager for rights");
        if (projects.size() > 1)
            UsageError("Choose a project with --project: " + NamesOf(projects));
        return ProjectWithID(mine.get(), projects.front().id);
    }
    if (const NamedItem* chosen = FindNamed(projects, options_.project))
        return ProjectWithID(mine.get(), chosen->id);
    const ComPtr<lindor::IProjectSet> all =
        ObjectOf(context_.get(), &lindor::IExeContext::get_ProjectSet);
    if (FindNamed(ProjectsOf(all.get()), options_.project) != nullptr)
        Refuse("You have no rights in the project " + options_.project);
    UsageError("There is no project " + options_.project + "; yours: " + NamesOf(projects));
}

std::int32_t Session::ChooseVersion(lindor::IProject* project) const
{
    if (options_.version.empty()) return 0;
    std::vector<NamedItem> versions;
    const std::int32_t count = NumberOf(project, &lindor::IProject::get_VersionCount);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IVersion> version = ItemOf(project, i, &lindor::IProject::get_Version);
        versions.push_back({NumberOf(version.get(), &lindor::IVersion::get_ID),
                            TextOf(version.get(), &lindor::IVersion::get_Name)});
    }
    const NamedItem* chosen = FindNamed(versions, options_.version);
    if (chosen == nullptr)
        UsageError("The project " + projectName_ + " has no version " + options_.version +
                   "; its versions: " + NamesOf(versions));
    return chosen->id;
}

void Session::EnterProject()
{
    const ComPtr<lindor::IProject> project = ChooseProject();
    projectID_ = NumberOf(project.get(), &lindor::IProject::get_ID);
    projectName_ = TextOf(project.get(), &lindor::IProject::get_Name);
    versionID_ = ChooseVersion(project.get());
    Check(context_->SetActiveProject(projectID_, versionID_), "Set Active Project Failed");
    if (NumberOf(context_.get(), &lindor::IExeContext::get_ActiveProjectID) != projectID_)
        Refuse("You have no rights in the project " + projectName_);
}

ComPtr<lindor::IProject> Session::ActiveProject() const
{
    return ObjectOf(context_.get(), &lindor::IExeContext::get_ActiveProject);
}

ComPtr<lindor::IRight> Session::ProjectRight() const
{
    ComPtr<lindor::IRight> right =
        ObjectOf(context_.get(), &lindor::IExeContext::get_CurProjectRight);
    if (!right) Refuse("You have no rights in the project " + projectName_);
    return right;
}

}  // namespace cli
