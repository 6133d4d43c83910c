#include "catalog.h"

namespace cli {
namespace {

using lindor::IExeContext;

template <class List>
std::vector<std::string> NamesIn(List* list)
{
    std::vector<std::string> names;
    const std::int32_t count = NumberOf(list, &List::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        Check(list->get_Item(i, &name), "Reading a name list failed");
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> ReadList(IExeContext* context, NameList list)
{
    switch (list) {
        case NameList::Status:
            return NamesIn(ObjectOf(context, &IExeContext::get_AllBugStatus).get());
        case NameList::Priority:
            return NamesIn(ObjectOf(context, &IExeContext::get_BugPriority).get());
        case NameList::Severity:
            return NamesIn(ObjectOf(context, &IExeContext::get_BugSeverity).get());
        case NameList::Reproductive:
            return NamesIn(ObjectOf(context, &IExeContext::get_BugReproductive).get());
    }
    return {};
}

}  // namespace

const char* ListWord(NameList list)
{
    switch (list) {
        case NameList::Status:
            return "status";
        case NameList::Priority:
            return "priority";
        case NameList::Severity:
            return "severity";
        case NameList::Reproductive:
            return "reproducibility";
    }
    return "name";
}

const std::vector<UserEntry>& Catalog::Users()
{
    if (users_) return *users_;
    users_.emplace();
    const ComPtr<lindor::IUserSet> all = ObjectOf(session_.context(), &IExeContext::get_AllUser);
    const std::int32_t count = NumberOf(all.get(), &lindor::IUserSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IUser> user = ItemOf(all.get(), i, &lindor::IUserSet::get_Item);
        users_->push_back({NumberOf(user.get(), &lindor::IUser::get_ID),
                           TextOf(user.get(), &lindor::IUser::get_LoginName),
                           TextOf(user.get(), &lindor::IUser::get_UserName)});
    }
    return *users_;
}

const std::vector<NamedItem>& Catalog::Versions()
{
    if (versions_) return *versions_;
    versions_.emplace();
    const ComPtr<lindor::IProject> project = session_.ActiveProject();
    if (!project) return *versions_;
    const std::int32_t count = NumberOf(project.get(), &lindor::IProject::get_VersionCount);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IVersion> version =
            ItemOf(project.get(), i, &lindor::IProject::get_Version);
        versions_->push_back({NumberOf(version.get(), &lindor::IVersion::get_ID),
                              TextOf(version.get(), &lindor::IVersion::get_Name)});
    }
    return *versions_;
}

const std::vector<NamedItem>& Catalog::Classifications()
{
    if (classifications_) return *classifications_;
    classifications_.emplace();
    const ComPtr<lindor::IProject> project = session_.ActiveProject();
    if (!project) return *classifications_;
    const ComPtr<lindor::IClassificationSet> set =
        ObjectOf(project.get(), &lindor::IProject::get_ClassificationSet);
    const std::int32_t count = NumberOf(set.get(), &lindor::IClassificationSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IClassification> item =
            ItemOf(set.get(), i, &lindor::IClassificationSet::get_Item);
        classifications_->push_back({NumberOf(item.get(), &lindor::IClassification::get_ID),
                                     TextOf(item.get(), &lindor::IClassification::get_Name)});
    }
    return *classifications_;
}

const std::vector<std::string>& Catalog::Names(NameList list)
{
    std::optional<std::vector<std::string>>& names = lists_[static_cast<int>(list)];
    if (!names) names = ReadList(session_.context(), list);
    return *names;
}

const std::vector<std::string>& Catalog::AvailableStatuses()
{
    if (!availableStatuses_)
        availableStatuses_ =
            NamesIn(ObjectOf(session_.context(), &IExeContext::get_BugStatus).get());
    return *availableStatuses_;
}

const UserEntry& Catalog::User(const std::string& loginOrName)
{
    for (const UserEntry& user : Users())
        if (SameText(user.login, loginOrName)) return user;
    for (const UserEntry& user : Users())
        if (SameText(user.name, loginOrName)) return user;
    std::vector<std::string> logins;
    for (const UserEntry& user : Users()) logins.push_back(user.login);
    UsageError("There is no user " + loginOrName + "; the logins: " + JoinTexts(logins));
}

std::int32_t Catalog::VersionID(const std::string& nameOrID)
{
    if (nameOrID.empty()) return 0;
    const NamedItem* version = FindNamed(Versions(), nameOrID);
    if (version == nullptr)
        UsageError("The project " + session_.projectName() + " has no version " + nameOrID +
                   "; its versions: " + NamesOf(Versions()));
    return version->id;
}

std::int32_t Catalog::ClassificationID(const std::string& nameOrID)
{
    if (nameOrID.empty()) return 0;
    const NamedItem* classification = FindNamed(Classifications(), nameOrID);
    if (classification == nullptr)
        UsageError("The project " + session_.projectName() + " has no classification " + nameOrID +
                   "; its classifications: " + NamesOf(Classifications()));
    return classification->id;
}

std::string Catalog::ListName(NameList list, const std::string& name)
{
    for (const std::string& known : Names(list))
        if (SameText(known, name)) return known;
    UsageError(name + " is not a " + ListWord(list) + "; one of: " + JoinTexts(Names(list)));
}

}  // namespace cli
