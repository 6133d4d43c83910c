#include "admin/projectpage.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "admin/formrows.h"
#include "admin/projectdirectory.h"
#include "widgets/messages.h"

namespace nimbra {

ProjectPage::ProjectPage(QWidget* parent) : SheetPage(tr("Project"), parent)
{
    setObjectName(QStringLiteral("projectPage"));
    auto* form = new QFormLayout(this);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    name_ =
        AddLineRow(form, tr("Enter a &name for this project"), QStringLiteral("projectName"), 64);
    description_ =
        AddTextRow(form, tr("Enter &description"), QStringLiteral("projectDescription"), 1024);
}

void ProjectPage::fillFrom(const ProjectRow& project)
{
    name_->setText(project.name);
    description_->setPlainText(project.description);
}

void ProjectPage::readInto(ProjectRow* project) const
{
    project->name = name_->text();
    project->description = description_->toPlainText();
}

bool ProjectPage::leave()
{
    if (!name_->text().isEmpty()) return true;
    Messages::warning(this, QStringLiteral("Project name cannot be empty."));
    name_->setFocus();
    return false;
}

}  // namespace nimbra
