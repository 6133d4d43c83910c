#include "client/projecttreeitems.h"

#include <QTreeWidget>

namespace nimbra {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString Name(lindor::IProject* project)
{
    std::string name;
    project->get_Name(&name);
    return QString::fromStdString(name);
}

bool AddVersions(QTreeWidgetItem* node, lindor::IProject* project)
{
    std::int32_t count = 0;
    if (project->get_VersionCount(&count) != lindor::S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        if (project->get_Version(i, version.put()) != lindor::S_OK || !version) return false;
        std::string name;
        std::int32_t id = 0;
        version->get_Name(&name);
        version->get_ID(&id);
        node->addChild(ProjectTreeItems::makeNode(QString::fromStdString(name), id,
                                                  ProjectTreeItems::versionIcon()));
    }
    return true;
}

}  // namespace

QTreeWidgetItem* ProjectTreeItems::makeNode(const QString& text, int id, const QIcon& icon)
{
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, kIdRole, id);
    node->setIcon(0, icon);
    return node;
}

int ProjectTreeItems::idOf(const QTreeWidgetItem* item)
{
    return item == nullptr ? 0 : item->data(0, kIdRole).toInt();
}

bool ProjectTreeItems::addProjects(QTreeWidget* tree, QTreeWidgetItem* parent,
                                   lindor::IProjectSet* projects)
{
    std::int32_t count = 0;
    if (projects == nullptr || projects->get_Count(&count) != lindor::S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IProject> project;
        if (projects->get_Item(i, project.put()) != lindor::S_OK || !project) return false;
        std::int32_t id = 0;
        project->get_ID(&id);
        QTreeWidgetItem* node = makeNode(Name(project.get()), id, projectIcon());
        if (parent != nullptr)
            parent->addChild(node);
        else
            tree->addTopLevelItem(node);
        const bool versionsRead = AddVersions(node, project.get());
        node->setExpanded(true);
        if (!versionsRead) return false;
    }
    return true;
}

QIcon ProjectTreeItems::rootIcon()
{
    return QIcon(QStringLiteral(":/icons/projects.svg"));
}

QIcon ProjectTreeItems::projectIcon()
{
    return QIcon(QStringLiteral(":/icons/project.svg"));
}

QIcon ProjectTreeItems::versionIcon()
{
    return QIcon(QStringLiteral(":/icons/version.svg"));
}

}  // namespace nimbra
