#include "admin/projectversionpage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "admin/versiondialog.h"
#include "widgets/messages.h"

namespace nimbra {

ProjectVersionPage::ProjectVersionPage(QWidget* parent) : SheetPage(tr("Version"), parent)
{
    setObjectName(QStringLiteral("projectVersionPage"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("versionList"));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setHeaderLabels({tr("Version Name"), tr("Date"), tr("Description")});
    list_->setColumnWidth(0, 150);
    list_->setColumnWidth(1, 80);
    list_->setColumnWidth(2, 100);
    list_->setMinimumWidth(360);
    auto* add = new QPushButton(tr("&Add"), this);
    add->setObjectName(QStringLiteral("addVersion"));
    edit_ = new QPushButton(tr("&Edit"), this);
    edit_->setObjectName(QStringLiteral("editVersion"));
    delete_ = new QPushButton(tr("&Delete"), this);
    delete_->setObjectName(QStringLiteral("deleteVersion"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &ProjectVersionPage::addVersion);
    connect(edit_, &QPushButton::clicked, this, &ProjectVersionPage::editVersion);
    connect(delete_, &QPushButton::clicked, this, &ProjectVersionPage::deleteVersions);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &ProjectVersionPage::editVersion);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const bool selected = !list_->selectedItems().isEmpty();
        edit_->setEnabled(selected);
        delete_->setEnabled(selected);
    });
    showRows();
}

void ProjectVersionPage::setVersions(const VersionList& versions)
{
    versions_ = versions;
    showRows();
}

void ProjectVersionPage::addVersion()
{
    VersionDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    versions_.add(dialog.values());
    showRows();
    list_->setCurrentItem(list_->topLevelItem(versions_.rowCount() - 1));
}

void ProjectVersionPage::editVersion()
{
    const int row = currentRow();
    if (row < 0) return;
    VersionDialog dialog(this);
    dialog.fillFrom(versions_.row(row).values);
    if (dialog.exec() != QDialog::Accepted) return;
    versions_.edit(row, dialog.values());
    showRows();
    list_->setCurrentItem(list_->topLevelItem(row));
}

// From the last selected row up, so the rows not yet asked about keep their place.
void ProjectVersionPage::deleteVersions()
{
    QList<int> rows;
    for (QTreeWidgetItem* item : list_->selectedItems()) rows << list_->indexOfTopLevelItem(item);
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) {
        if (!Messages::askYesNo(this, QStringLiteral("Do you really want to delete this version?")))
            break;
        if (!Messages::askYesNoWarning(
                this, QStringLiteral("Delete this version will permanently erase all "
                                     "bugs of this version!\n Do you want to continue?")))
            break;
        versions_.remove(row);
        delete list_->takeTopLevelItem(row);
    }
}

void ProjectVersionPage::showRows()
{
    list_->clear();
    for (int i = 0; i < versions_.rowCount(); ++i) {
        const VersionValues& values = versions_.row(i).values;
        new QTreeWidgetItem(
            list_, {values.name, VersionList::dateText(values.releaseDate), values.description});
    }
    edit_->setEnabled(false);
    delete_->setEnabled(false);
}

int ProjectVersionPage::currentRow() const
{
    const auto selected = list_->selectedItems();
    if (selected.isEmpty()) return -1;
    return list_->indexOfTopLevelItem(selected.first());
}

}  // namespace nimbra
