// The projects of the open database as the administration program changes
// them, through the context's own project set (which checks the logged-in
// administrator's rights). A false result leaves the engine's description.
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>

#include "admin/engineobject.h"

namespace nimbra {

class VersionList;

struct ProjectRow {
    int id = 0;
    QString name;
    QString description;
};

class ProjectDirectory {
public:
    using Found = FoundItem<lindor::IProjectSet, lindor::IProject>;

    explicit ProjectDirectory(lindor::IExeContext* context) : context_(context) {}

    bool list(QList<ProjectRow>* rows) const;
    // Stores a new project with the versions of `versions`.
    bool add(const ProjectRow& values, const VersionList& versions) const;
    // The project with that ID as the current project of a fresh project
    // set; `found` stays empty when no project has it. False when the engine
    // fails.
    bool find(int id, Found* found) const;
    // Writes the name, the description and the version changes into the
    // found project and stores it with its versions in one go.
    bool update(const Found& found, const ProjectRow& values, const VersionList& versions) const;
    // Deletes the project with its versions, their bugs, its classifications
    // and every role's rights in it.
    bool remove(int id) const;

private:
    lindor::ComPtr<lindor::IProjectSet> projects() const;
    static bool fill(lindor::IProject* project, const ProjectRow& values,
                     const VersionList& versions);

    lindor::IExeContext* context_;
};

}  // namespace nimbra
