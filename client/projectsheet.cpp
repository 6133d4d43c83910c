#include "client/projectsheet.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "client/bugtexts.h"
#include "client/enginevalues.h"
#include "widgets/engineerror.h"
#include "widgets/helpviewer.h"

namespace nimbra {

namespace {

constexpr int kNameLength = 64;
constexpr int kVersionColumnWidths[] = {110, 80, 140};

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

ProjectSheet::ProjectSheet(lindor::IProject* project, const QString& dateFormat, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("projectSheet"));
    setWindowTitle(QStringLiteral("Project Propery"));
    pages_ = new QTabWidget(this);
    pages_->addTab(makeProjectPage(), tr("Project"));
    pages_->addTab(makeVersionPage(), tr("Version"));
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { HelpViewer::open(this, QStringLiteral("Project_Edit.htm")); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    resize(480, 340);
    showProject(project, dateFormat);
}

QWidget* ProjectSheet::makeProjectPage()
{
    auto* page = new QWidget(this);
    name_ = new QLineEdit(page);
    name_->setObjectName(QStringLiteral("projectName"));
    name_->setMaxLength(kNameLength);
    description_ = new QPlainTextEdit(page);
    description_->setObjectName(QStringLiteral("projectDescription"));
    // The client only shows a project.
    name_->setEnabled(false);
    description_->setEnabled(false);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuddyLabel(tr("Enter a &name for this project"), name_, page));
    layout->addWidget(name_);
    layout->addWidget(BuddyLabel(tr("Enter &Description"), description_, page));
    layout->addWidget(description_, 1);
    return page;
}

QWidget* ProjectSheet::makeVersionPage()
{
    auto* page = new QWidget(this);
    versions_ = new QTreeWidget(page);
    versions_->setObjectName(QStringLiteral("projectVersions"));
    versions_->setHeaderLabels({tr("Version Name"), tr("Date"), tr("Description")});
    versions_->setRootIsDecorated(false);
    versions_->setAllColumnsShowFocus(true);
    versions_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int column = 0; column < 3; ++column)
        versions_->setColumnWidth(column, kVersionColumnWidths[column]);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(versions_);
    return page;
}

void ProjectSheet::showProject(lindor::IProject* project, const QString& dateFormat)
{
    using lindor::IProject;
    using lindor::IVersion;
    name_->setText(TextOf(project, &IProject::get_Name));
    description_->setPlainText(TextOf(project, &IProject::get_Description));
    const int count = NumberOf(project, &IProject::get_VersionCount);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<IVersion> version;
        if (project->get_Version(i, version.put()) != lindor::S_OK || !version) {
            EngineError::show(this);
            return;
        }
        const QString description = TextOf(version.get(), &IVersion::get_Description);
        auto* row = new QTreeWidgetItem(QStringList{
            TextOf(version.get(), &IVersion::get_Name),
            BugTexts::dateText(DateOf(version.get(), &IVersion::get_ReleaseDate), dateFormat),
            description});
        row->setToolTip(2, description);  // a long description is cut at the sheet's edge
        versions_->addTopLevelItem(row);
    }
    // Dates in a long format need more than the column's first width.
    versions_->resizeColumnToContents(1);
    versions_->setColumnWidth(1, std::max(versions_->columnWidth(1), kVersionColumnWidths[1]));
}

}  // namespace nimbra
