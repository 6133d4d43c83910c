#include "client/databaseprobe.h"

#include "widgets/engineerror.h"

namespace nimbra {

namespace {

template <class T>
QString NameOf(T* object)
{
    std::string name;
    object->get_Name(&name);
    return QString::fromStdString(name);
}

bool ReadVersions(lindor::IProject* project, QList<DatabaseProbe::Version>* versions)
{
    std::int32_t count = 0;
    if (project->get_VersionCount(&count) != lindor::S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        std::int32_t id = 0;
        if (project->get_Version(i, version.put()) != lindor::S_OK ||
            version->get_ID(&id) != lindor::S_OK)
            return false;
        versions->append({id, NameOf(version.get())});
    }
    return true;
}

}  // namespace

DatabaseProbe::~DatabaseProbe()
{
    if (context_) context_->Close();
}

bool DatabaseProbe::fail(QString* error)
{
    *error = EngineError::text();
    return false;
}

bool DatabaseProbe::logIn(const QString& path, const QString& login, const QString& password,
                          QString* error)
{
    if (lindor::CreateObject("Lindor.ExeContext.1", context_.put()) != lindor::S_OK || !context_ ||
        context_->OpenAccessDB(path.toStdString()) != lindor::S_OK ||
        context_->Login(login.toStdString(), password.toStdString()) != lindor::S_OK)
        return fail(error);
    return true;
}

bool DatabaseProbe::readProjects(QList<Project>* projects, QString* error)
{
    lindor::ComPtr<lindor::IProjectSet> set;
    std::int32_t count = 0;
    if (!context_ || context_->get_CurUserProjectSet(set.put()) != lindor::S_OK) return fail(error);
    if (set && set->get_Count(&count) != lindor::S_OK) return fail(error);
    projects->clear();
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IProject> item;
        Project project;
        if (set->get_Item(i, item.put()) != lindor::S_OK ||
            item->get_ID(&project.id) != lindor::S_OK ||
            !ReadVersions(item.get(), &project.versions))
            return fail(error);
        project.name = NameOf(item.get());
        projects->append(project);
    }
    return true;
}

bool DatabaseProbe::activate(int projectId, int versionId, QString* error)
{
    if (!context_ || context_->SetActiveProject(projectId, versionId) != lindor::S_OK)
        return fail(error);
    return true;
}

}  // namespace nimbra
