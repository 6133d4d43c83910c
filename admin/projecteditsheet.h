// The project sheet: the wizard "Add Project" or the sheet "Edit Project
// Property", with the pages "Project" and "Version".
#pragma once

#include "admin/pagesheet.h"

namespace nimbra {

class ProjectPage;
class ProjectVersionPage;
class VersionList;
struct ProjectRow;

class ProjectEditSheet : public PageSheet {
public:
    explicit ProjectEditSheet(Mode mode, QWidget* parent);

    void setProject(const ProjectRow& project, const VersionList& versions);
    ProjectRow project() const;
    const VersionList& versions() const;

    ProjectPage* projectPage() const { return project_; }
    ProjectVersionPage* versionPage() const { return versions_; }

private:
    ProjectPage* project_ = nullptr;
    ProjectVersionPage* versions_ = nullptr;
};

}  // namespace nimbra
