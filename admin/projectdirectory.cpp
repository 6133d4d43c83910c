#include "admin/projectdirectory.h"

#include "admin/versionlist.h"

namespace nimbra {

bool ProjectDirectory::list(QList<ProjectRow>* rows) const
{
    rows->clear();
    const auto set = projects();
    if (!set) return false;
    const int count = EngineNumber(set.get(), &lindor::IProjectSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IProject> project;
        if (set->get_Item(i, project.put()) != lindor::S_OK || !project) return false;
        rows->append({EngineNumber(project.get(), &lindor::IProject::get_ID),
                      EngineText(project.get(), &lindor::IProject::get_Name),
                      EngineText(project.get(), &lindor::IProject::get_Description)});
    }
    return true;
}

bool ProjectDirectory::add(const ProjectRow& values, const VersionList& versions) const
{
    const auto set = projects();
    const auto project = CreateEngineObject<lindor::IProject>("Lindor.Project.1");
    if (!set || !project || !fill(project.get(), values, versions)) return false;
    return set->Add(project.get()) == lindor::S_OK;
}

bool ProjectDirectory::find(int id, Found* found) const
{
    return FindByID(projects(), id, found);
}

bool ProjectDirectory::update(const Found& found, const ProjectRow& values,
                              const VersionList& versions) const
{
    return fill(found.item.get(), values, versions) && found.set->Update() == lindor::S_OK;
}

bool ProjectDirectory::remove(int id) const
{
    const auto set = projects();
    return set && set->DeleteByID(id) == lindor::S_OK;
}

lindor::ComPtr<lindor::IProjectSet> ProjectDirectory::projects() const
{
    lindor::ComPtr<lindor::IProjectSet> set;
    if (context_->get_ProjectSet(set.put()) != lindor::S_OK) set.reset();
    return set;
}

bool ProjectDirectory::fill(lindor::IProject* project, const ProjectRow& values,
                            const VersionList& versions)
{
    return project->put_Name(values.name.toStdString()) == lindor::S_OK &&
           project->put_Description(values.description.toStdString()) == lindor::S_OK &&
           versions.applyTo(project);
}

}  // namespace nimbra
