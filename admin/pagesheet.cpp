#include "admin/pagesheet.h"

#include <QWizard>

#include "admin/sheetdialog.h"
#include "admin/sheetpage.h"
#include "widgets/helpviewer.h"

namespace nimbra {

namespace {

// Room for the rights tree and the version list without scrolling sideways.
const QSize kMinimumSize(500, 480);

QWizard* MakeWizard(const QString& title, const QString& helpTopic, QWidget* parent)
{
    auto* wizard = new QWizard(parent);
    wizard->setWindowTitle(title);
    wizard->setWizardStyle(QWizard::ClassicStyle);
    wizard->setOptions(QWizard::NoBackButtonOnStartPage | QWizard::HaveHelpButton);
    QObject::connect(wizard, &QWizard::helpRequested, wizard,
                     [wizard, helpTopic] { HelpViewer::open(wizard, helpTopic); });
    return wizard;
}

}  // namespace

PageSheet::PageSheet(Mode mode, const QString& title, const QString& helpTopic, QWidget* parent)
    : mode_(mode)
{
    if (mode == Mode::Wizard)
        wizard_ = MakeWizard(title, helpTopic, parent);
    else
        sheet_ = new SheetDialog(title, helpTopic, parent);
    dialog()->setMinimumSize(kMinimumSize);
}

PageSheet::~PageSheet()
{
    delete dialog();
}

QDialog* PageSheet::dialog() const
{
    if (wizard_) return wizard_;
    return sheet_;
}

bool PageSheet::exec()
{
    return dialog()->exec() == QDialog::Accepted;
}

void PageSheet::addPage(SheetPage* page)
{
    if (wizard_)
        wizard_->addPage(page);
    else
        sheet_->addPage(page);
}

void PageSheet::removePage(SheetPage* page)
{
    if (sheet_) {
        sheet_->removePage(page);
        return;
    }
    for (int id : wizard_->pageIds()) {
        if (wizard_->page(id) == page) wizard_->removePage(id);
    }
}

}  // namespace nimbra
