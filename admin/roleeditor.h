// The role being built on the page "Assign right": one right per project,
// the project whose right is being edited, templates, and the copy of
// another user's role. Plain engine objects, no window.
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>
#include <QStringList>

#include "roles/rightflags.h"
#include "roles/roletemplates.h"

namespace nimbra {

class RoleEditor {
public:
    struct Project {
        int id = 0;
        QString name;
    };

    // Edits `role` (a new empty role when null) for every project of
    // `projects`: a project the role has no right for gets one with every
    // flag clear. The first project becomes the current one. False when the
    // engine fails; its error information says why.
    bool start(lindor::IProjectSet* projects, lindor::ComPtr<lindor::IUserRight> role);

    const QList<Project>& projects() const { return projects_; }
    lindor::IUserRight* role() const { return role_.get(); }

    // Makes the project's right the one that flag(), statuses() and
    // applyTemplate() work on.
    bool select(int projectId);
    int currentProject() const { return currentProjectId_; }

    bool flag(roles::RightFlag flag) const;
    void setFlag(roles::RightFlag flag, bool value);
    QStringList statuses() const;
    void setStatuses(const QStringList& names);

    // Changes the current project's right only.
    bool applyTemplate(const roles::RoleTemplate& chosen);
    // The role becomes `user`'s stored role (all projects and AddProject);
    // the first project becomes the current one.
    bool copyFrom(lindor::IUser* user);
    // Drops every right that allows nothing, so that no rights row is stored
    // for a project in which the user may do nothing.
    bool finish();

private:
    lindor::ComPtr<lindor::IRightSet> rightSet() const;
    lindor::ComPtr<lindor::IBugStatus> currentStatuses() const;
    // The role's right for the project, made with every flag clear when the
    // role has none.
    lindor::ComPtr<lindor::IRight> rightFor(int projectId);
    bool giveEveryProjectARight();
    bool selectFirst();

    lindor::ComPtr<lindor::IUserRight> role_;
    QList<Project> projects_;
    lindor::ComPtr<lindor::IRight> current_;
    int currentProjectId_ = 0;
};

}  // namespace nimbra
