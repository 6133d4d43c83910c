#include "client/projectdialogs.h"

#include "client/classificationsheet.h"
#include "client/enginevalues.h"
#include "client/projectsheet.h"
#include "widgets/engineerror.h"
#include "widgets/messages.h"

namespace nimbra {

lindor::ComPtr<lindor::IProject> ProjectDialogs::find(lindor::IExeContext* context, int projectId,
                                                      QWidget* parent)
{
    lindor::ComPtr<lindor::IProjectSet> projects;
    if (context->get_ProjectSet(projects.put()) != lindor::S_OK || !projects) {
        EngineError::show(parent);
        return nullptr;
    }
    const int count = NumberOf(projects.get(), &lindor::IProjectSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IProject> project;
        if (projects->get_Item(i, project.put()) != lindor::S_OK || !project) {
            EngineError::show(parent);
            return nullptr;
        }
        if (NumberOf(project.get(), &lindor::IProject::get_ID) == projectId) return project;
    }
    Messages::error(parent, QStringLiteral("Project(ID=%1) is not in this set").arg(projectId));
    return nullptr;
}

void ProjectDialogs::showProperties(lindor::IExeContext* context, int projectId,
                                    const QString& dateFormat, QWidget* parent)
{
    const lindor::ComPtr<lindor::IProject> project = find(context, projectId, parent);
    if (!project) return;
    ProjectSheet sheet(project.get(), dateFormat, parent);
    sheet.exec();
}

void ProjectDialogs::editClassifications(lindor::IExeContext* context, int projectId,
                                         QWidget* parent)
{
    const lindor::ComPtr<lindor::IProject> project = find(context, projectId, parent);
    if (!project) return;
    lindor::ComPtr<lindor::IClassificationSet> classifications;
    if (project->get_ClassificationSet(classifications.put()) != lindor::S_OK || !classifications ||
        classifications->put_ExeContext(context) != lindor::S_OK) {
        EngineError::show(parent);
        return;
    }
    ClassificationSheet sheet(classifications, parent);
    sheet.exec();
}

}  // namespace nimbra
