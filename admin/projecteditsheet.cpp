#include "admin/projecteditsheet.h"

#include <QDialog>

#include "admin/projectdirectory.h"
#include "admin/projectpage.h"
#include "admin/projectversionpage.h"

namespace nimbra {

ProjectEditSheet::ProjectEditSheet(Mode mode, QWidget* parent)
    : PageSheet(
          mode,
          mode == Mode::Wizard ? QObject::tr("Add Project") : QObject::tr("Edit Project Property"),
          mode == Mode::Wizard ? QStringLiteral("Project_Add.htm")
                               : QStringLiteral("Project_Edit.htm"),
          parent)
{
    dialog()->setObjectName(mode == Mode::Wizard ? QStringLiteral("addProjectSheet")
                                                 : QStringLiteral("editProjectSheet"));
    project_ = new ProjectPage(dialog());
    versions_ = new ProjectVersionPage(dialog());
    addPage(project_);
    addPage(versions_);
}

void ProjectEditSheet::setProject(const ProjectRow& project, const VersionList& versions)
{
    project_->fillFrom(project);
    versions_->setVersions(versions);
}

ProjectRow ProjectEditSheet::project() const
{
    ProjectRow row;
    project_->readInto(&row);
    return row;
}

const VersionList& ProjectEditSheet::versions() const
{
    return versions_->versions();
}

}  // namespace nimbra
