#include "client/projectpane.h"

#include <QHeaderView>
#include <QMenu>
#include <QTreeWidget>

#include "client/projecttreeitems.h"
#include "widgets/engineerror.h"

namespace nimbra {

namespace {

int Depth(const QTreeWidgetItem* node)
{
    int depth = 0;
    for (const QTreeWidgetItem* up = node->parent(); up != nullptr; up = up->parent()) ++depth;
    return depth;
}

}  // namespace

ProjectPane::ProjectPane(QWidget* parent) : QDockWidget(tr("My Projects"), parent)
{
    setObjectName(QStringLiteral("projectPane"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("projectTree"));
    tree_->setHeaderHidden(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setIconSize(QSize(16, 16));
    // Long names scroll sideways rather than losing their end.
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    setWidget(tree_);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) {
        if (Depth(node) == 2) activate(node);
    });
    connect(tree_, &QWidget::customContextMenuRequested, this, &ProjectPane::showMenu);
}

QTreeWidgetItem* ProjectPane::root() const
{
    return tree_->topLevelItemCount() > 0 ? tree_->topLevelItem(0) : nullptr;
}

void ProjectPane::clear()
{
    bold_ = nullptr;
    tree_->clear();
}

void ProjectPane::reload()
{
    clear();
    QTreeWidgetItem* rootNode =
        ProjectTreeItems::makeNode(tr("All Projects"), 0, ProjectTreeItems::rootIcon());
    tree_->addTopLevelItem(rootNode);
    rootNode->setExpanded(true);
    if (context_ == nullptr) return;
    lindor::ComPtr<lindor::IProjectSet> projects;
    if (context_->get_CurUserProjectSet(projects.put()) != lindor::S_OK ||
        !ProjectTreeItems::addProjects(tree_, rootNode, projects.get())) {
        EngineError::show(this);
        return;
    }
    std::int32_t projectId = 0;
    std::int32_t versionId = 0;
    context_->get_ActiveProjectID(&projectId);
    context_->get_ActiveVersionID(&versionId);
    // Without an active project nothing is bold until the next activation.
    if (projectId != 0) markActive(projectId, versionId);
}

void ProjectPane::markActive(int projectId, int versionId)
{
    QTreeWidgetItem* rootNode = root();
    if (rootNode == nullptr) return;
    if (projectId == 0) {
        setBold(rootNode);
        return;
    }
    for (int p = 0; p < rootNode->childCount(); ++p) {
        QTreeWidgetItem* project = rootNode->child(p);
        if (ProjectTreeItems::idOf(project) != projectId) continue;
        if (versionId == 0) {
            setBold(project);
            return;
        }
        for (int v = 0; v < project->childCount(); ++v) {
            if (ProjectTreeItems::idOf(project->child(v)) != versionId) continue;
            setBold(project->child(v));
            return;
        }
    }
}

void ProjectPane::setBold(QTreeWidgetItem* node)
{
    if (bold_ != nullptr) {
        QFont normal = bold_->font(0);
        normal.setBold(false);
        bold_->setFont(0, normal);
    }
    bold_ = node;
    QFont font = node->font(0);
    font.setBold(true);
    node->setFont(0, font);
}

void ProjectPane::activate(QTreeWidgetItem* node)
{
    if (node == nullptr || context_ == nullptr) return;
    int projectId = 0;
    int versionId = 0;
    switch (Depth(node)) {
        case 1:
            projectId = ProjectTreeItems::idOf(node);
            break;
        case 2:
            projectId = ProjectTreeItems::idOf(node->parent());
            versionId = ProjectTreeItems::idOf(node);
            break;
        default:
            break;
    }
    if (context_->SetActiveProject(projectId, versionId) != lindor::S_OK) EngineError::show(this);
}

void ProjectPane::fillMenu(QMenu* menu, QTreeWidgetItem* node)
{
    menu->addAction(tr("Set Active"), this, [this, node] { activate(node); });
    if (Depth(node) != 1) return;
    const int projectId = ProjectTreeItems::idOf(node);
    menu->addAction(tr("Edit Classification..."), this,
                    [this, projectId] { emit classificationsRequested(projectId); });
    menu->addAction(tr("Project Property..."), this,
                    [this, projectId] { emit propertiesRequested(projectId); });
}

void ProjectPane::showMenu(const QPoint& at)
{
    QTreeWidgetItem* node = tree_->itemAt(at);
    if (node == nullptr) return;
    tree_->setCurrentItem(node);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("projectMenu"));
    fillMenu(&menu, node);
    menu.exec(tree_->viewport()->mapToGlobal(at));
}

}  // namespace nimbra
