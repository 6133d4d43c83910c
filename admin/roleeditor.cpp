#include "admin/roleeditor.h"

#include <vector>

#include "admin/engineobject.h"

namespace nimbra {

bool RoleEditor::start(lindor::IProjectSet* projects, lindor::ComPtr<lindor::IUserRight> role)
{
    role_ = role ? role : CreateEngineObject<lindor::IUserRight>("Lindor.UserRight.1");
    if (!role_) return false;
    projects_.clear();
    const int count = EngineNumber(projects, &lindor::IProjectSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IProject> project;
        if (projects->get_Item(i, project.put()) != lindor::S_OK || !project) return false;
        projects_.append({EngineNumber(project.get(), &lindor::IProject::get_ID),
                          EngineText(project.get(), &lindor::IProject::get_Name)});
    }
    return giveEveryProjectARight() && selectFirst();
}

bool RoleEditor::select(int projectId)
{
    current_ = rightFor(projectId);
    currentProjectId_ = current_ ? projectId : 0;
    return static_cast<bool>(current_);
}

bool RoleEditor::flag(roles::RightFlag flag) const
{
    return current_ && roles::RightFlags::get(current_.get(), flag);
}

void RoleEditor::setFlag(roles::RightFlag flag, bool value)
{
    if (current_) roles::RightFlags::set(current_.get(), flag, value);
}

QStringList RoleEditor::statuses() const
{
    return EngineNames(currentStatuses().get());
}

void RoleEditor::setStatuses(const QStringList& names)
{
    const auto list = currentStatuses();
    if (!list) return;
    list->Clear();
    for (const QString& name : names) list->Add(name.toStdString());
}

bool RoleEditor::applyTemplate(const roles::RoleTemplate& chosen)
{
    return current_ && roles::RoleTemplates::apply(chosen, current_.get());
}

bool RoleEditor::copyFrom(lindor::IUser* user)
{
    lindor::ComPtr<lindor::IUserRight> copied;
    if (user->get_Right(copied.put()) != lindor::S_OK || !copied) return false;
    role_ = copied;
    return giveEveryProjectARight() && selectFirst();
}

bool RoleEditor::finish()
{
    const auto rights = rightSet();
    if (!rights) return false;
    std::vector<lindor::ComPtr<lindor::IRight>> kept;
    const int count = EngineNumber(rights.get(), &lindor::IRightSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IRight> right;
        if (rights->get_Item(i, right.put()) != lindor::S_OK || !right) return false;
        if (EngineNumber(right.get(), &lindor::IRight::get_IsAllFalse) == 0) kept.push_back(right);
    }
    rights->RemoveAll();
    for (const auto& right : kept) rights->Append(right.get());
    return true;
}

lindor::ComPtr<lindor::IRightSet> RoleEditor::rightSet() const
{
    lindor::ComPtr<lindor::IRightSet> rights;
    if (role_) role_->get_RightSet(rights.put());
    return rights;
}

lindor::ComPtr<lindor::IBugStatus> RoleEditor::currentStatuses() const
{
    lindor::ComPtr<lindor::IBugStatus> list;
    if (current_) current_->get_AvailableStatus(list.put());
    return list;
}

lindor::ComPtr<lindor::IRight> RoleEditor::rightFor(int projectId)
{
    const auto rights = rightSet();
    if (!rights) return nullptr;
    lindor::ComPtr<lindor::IRight> right;
    if (rights->GetByProjectID(projectId, right.put()) != lindor::S_OK) return nullptr;
    if (right) return right;
    right = CreateEngineObject<lindor::IRight>("Lindor.Right.1");
    if (!right || right->put_ProjectID(projectId) != lindor::S_OK ||
        rights->Append(right.get()) != lindor::S_OK)
        return nullptr;
    return right;
}

bool RoleEditor::giveEveryProjectARight()
{
    for (const Project& project : projects_) {
        if (!rightFor(project.id)) return false;
    }
    return true;
}

bool RoleEditor::selectFirst()
{
    current_.reset();
    currentProjectId_ = 0;
    return projects_.isEmpty() || select(projects_.first().id);
}

}  // namespace nimbra
