#include "admin/projectlistdialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "admin/projectdirectory.h"
#include "admin/projecteditsheet.h"
#include "admin/synchronizequestion.h"
#include "admin/versionlist.h"
#include "widgets/engineerror.h"
#include "widgets/messages.h"

namespace nimbra {

ProjectListDialog::ProjectListDialog(lindor::IExeContext* context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("projectListDialog"));
    setWindowTitle(tr("Project property"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("projectList"));
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setHeaderLabels({tr("Project Name"), tr("Description")});
    list_->setColumnWidth(0, 100);
    list_->setColumnWidth(1, 150);
    auto* edit = new QPushButton(tr("&Edit"), this);
    edit->setObjectName(QStringLiteral("editProject"));
    auto* remove = new QPushButton(tr("&Delete"), this);
    remove->setObjectName(QStringLiteral("deleteProject"));
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("closeProjects"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(460, 300);

    connect(edit, &QPushButton::clicked, this, &ProjectListDialog::editProject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &ProjectListDialog::editProject);
    connect(remove, &QPushButton::clicked, this, &ProjectListDialog::deleteProject);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

bool ProjectListDialog::fill()
{
    QList<ProjectRow> projects;
    if (!ProjectDirectory(context_).list(&projects)) {
        EngineError::show(this);
        return false;
    }
    list_->clear();
    for (int i = 0; i < projects.size(); ++i) {
        new QTreeWidgetItem(list_);
        showRow(i, projects.at(i));
    }
    list_->setCurrentItem(list_->topLevelItem(0));
    return true;
}

void ProjectListDialog::editProject()
{
    const int id = selectedProjectId();
    const ProjectDirectory directory(context_);
    ProjectDirectory::Found found;
    if (!directory.find(id, &found)) {
        EngineError::show(this);
        return;
    }
    if (!found) return;
    VersionList versions;
    if (!versions.load(found.item.get())) {
        EngineError::show(this);
        return;
    }
    ProjectEditSheet sheet(ProjectEditSheet::Mode::Sheet, this);
    sheet.setProject({id, EngineText(found.item.get(), &lindor::IProject::get_Name),
                      EngineText(found.item.get(), &lindor::IProject::get_Description)},
                     versions);
    if (!sheet.exec()) return;
    const ProjectRow changed{id, sheet.project().name, sheet.project().description};
    if (!directory.update(found, changed, sheet.versions())) {
        EngineError::show(this);
        return;
    }
    showRow(list_->indexOfTopLevelItem(list_->currentItem()), changed);
    SynchronizeQuestion::ask(this, context_);
}

void ProjectListDialog::deleteProject()
{
    const int id = selectedProjectId();
    if (id < 1) return;
    if (!Messages::askYesNoWarning(this,
                                   QStringLiteral("Do you really want to delete this project?")))
        return;
    if (!Messages::askYesNoWarning(this,
                                   QStringLiteral("Delete this project will permanently erase "
                                                  "all versions and all bugs of this project!\n "
                                                  "Do you want to continue?")))
        return;
    if (!ProjectDirectory(context_).remove(id)) {
        EngineError::show(this);
        return;
    }
    delete list_->currentItem();
}

int ProjectListDialog::selectedProjectId() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    return item != nullptr && item->isSelected() ? item->data(0, Qt::UserRole).toInt() : 0;
}

void ProjectListDialog::showRow(int row, const ProjectRow& project)
{
    QTreeWidgetItem* item = list_->topLevelItem(row);
    if (item == nullptr) return;
    item->setText(0, project.name);
    item->setText(1, project.description);
    item->setData(0, Qt::UserRole, project.id);
}

}  // namespace nimbra
