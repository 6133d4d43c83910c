#include "client/filterchoices.h"

#include "widgets/engineerror.h"

namespace nimbra {

namespace {

using Choices = FilterFields::Choices;

// The texts of one of the engine's name lists.
template <class List>
bool NamesOf(lindor::IExeContext* context, lindor::HRESULT (lindor::IExeContext::*get)(List**),
             QStringList* names)
{
    lindor::ComPtr<List> list;
    std::int32_t count = 0;
    if ((context->*get)(list.put()) != lindor::S_OK || !list ||
        list->get_Count(&count) != lindor::S_OK)
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        if (list->get_Item(i, &name) != lindor::S_OK) return false;
        names->append(QString::fromStdString(name));
    }
    return true;
}

// The names of the items of a set whose items have get_<name>.
template <class Set, class Item>
bool ItemNames(Set* set, lindor::HRESULT (Item::*name)(std::string*), QStringList* names)
{
    std::int32_t count = 0;
    if (set == nullptr) return true;
    if (set->get_Count(&count) != lindor::S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<Item> item;
        std::string text;
        if (set->get_Item(i, item.put()) != lindor::S_OK ||
            ((item.get()->*name)(&text)) != lindor::S_OK)
            return false;
        names->append(QString::fromStdString(text));
    }
    return true;
}

bool UserNames(lindor::IExeContext* context, QStringList* names)
{
    lindor::ComPtr<lindor::IUserSet> users;
    return context->get_AllUser(users.put()) == lindor::S_OK &&
           ItemNames(users.get(), &lindor::IUser::get_UserName, names);
}

bool VersionNames(lindor::IExeContext* context, QStringList* names)
{
    std::int32_t projectId = 0;
    lindor::ComPtr<lindor::IProject> project;
    if (context->get_ActiveProjectID(&projectId) != lindor::S_OK) return false;
    if (projectId == 0) return true;
    std::int32_t count = 0;
    if (context->get_ActiveProject(project.put()) != lindor::S_OK || !project ||
        project->get_VersionCount(&count) != lindor::S_OK)
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        std::string name;
        if (project->get_Version(i, version.put()) != lindor::S_OK ||
            version->get_Name(&name) != lindor::S_OK)
            return false;
        names->append(QString::fromStdString(name));
    }
    return true;
}

bool ClassificationNames(lindor::IExeContext* context, QStringList* names)
{
    std::int32_t projectId = 0;
    lindor::ComPtr<lindor::IClassificationSet> classes;
    return context->get_ActiveProjectID(&projectId) == lindor::S_OK &&
           context->GetUserClassification(0, projectId, classes.put()) == lindor::S_OK &&
           ItemNames(classes.get(), &lindor::IClassification::get_Name, names);
}

}  // namespace

QStringList FilterChoices::of(Choices choices, QString* error)
{
    if (read_.contains(choices)) return read_.value(choices);
    QStringList names;
    if (!read(choices, &names)) {
        *error = EngineError::text();
        return {};
    }
    read_.insert(choices, names);
    return names;
}

bool FilterChoices::read(Choices choices, QStringList* names)
{
    switch (choices) {
        case Choices::Severities:
            return NamesOf(context_, &lindor::IExeContext::get_BugSeverity, names);
        case Choices::Statuses:
            return NamesOf(context_, &lindor::IExeContext::get_AllBugStatus, names);
        case Choices::Priorities:
            return NamesOf(context_, &lindor::IExeContext::get_BugPriority, names);
        case Choices::Reproductives:
            return NamesOf(context_, &lindor::IExeContext::get_BugReproductive, names);
        case Choices::Users:
            return UserNames(context_, names);
        case Choices::Versions:
            return VersionNames(context_, names);
        case Choices::Classifications:
            return ClassificationNames(context_, names);
        case Choices::None:
            break;
    }
    return true;
}

}  // namespace nimbra
