#include "client/selectprojectdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "client/projecttreeitems.h"
#include "widgets/engineerror.h"

namespace nimbra {

SelectProjectDialog::SelectProjectDialog(lindor::IExeContext* context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("selectProjectDialog"));
    setWindowTitle(tr("Select current project"));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("selectProjectTree"));
    tree_->setHeaderHidden(true);
    auto* label = new QLabel(tr("&Project and version:"), this);
    label->setBuddy(tree_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SelectProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(tree_);
    layout->addWidget(buttons);
    resize(320, 360);

    // A failure while filling leaves the tree partly filled, without a message.
    lindor::ComPtr<lindor::IProjectSet> projects;
    if (context_->get_CurUserProjectSet(projects.put()) == lindor::S_OK)
        ProjectTreeItems::addProjects(tree_, nullptr, projects.get());
}

void SelectProjectDialog::accept()
{
    if (tree_->topLevelItemCount() > 0) {
        int projectId = 0;
        int versionId = 0;
        const QList<QTreeWidgetItem*> chosen = tree_->selectedItems();
        if (!chosen.isEmpty()) {
            QTreeWidgetItem* node = chosen.first();
            if (node->parent() != nullptr) {
                projectId = ProjectTreeItems::idOf(node->parent());
                versionId = ProjectTreeItems::idOf(node);
            } else {
                projectId = ProjectTreeItems::idOf(node);
            }
        }
        if (context_->SetActiveProject(projectId, versionId) != lindor::S_OK)
            EngineError::show(this);
    }
    QDialog::accept();
}

}  // namespace nimbra
