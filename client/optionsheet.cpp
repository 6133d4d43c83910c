#include "client/optionsheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "client/clientoptions.h"
#include "client/optiongeneralpage.h"
#include "client/optionotherpage.h"
#include "widgets/helpviewer.h"
#include "widgets/messages.h"

namespace nimbra {

OptionSheet::OptionSheet(ClientOptions* options, QWidget* parent)
    : QDialog(parent), options_(options)
{
    setObjectName(QStringLiteral("optionSheet"));
    setWindowTitle(tr("Options"));
    pages_ = new QTabWidget(this);
    general_ = new OptionGeneralPage(pages_);
    other_ = new OptionOtherPage(pages_);
    pages_->addTab(general_, tr("General"));
    pages_->addTab(other_, tr("Other"));

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto showHelp = [this] { HelpViewer::open(this, QLatin1String(kHelpPage)); };
    connect(buttons, &QDialogButtonBox::helpRequested, this, showHelp);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, showHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);

    QString error;
    if (options_->load(&error) == ClientOptions::LoadResult::Failed) Messages::error(parent, error);
    general_->load(*options_);
    other_->load(*options_);
}

void OptionSheet::accept()
{
    general_->store(options_);
    other_->store(options_);
    QString error;
    if (!options_->save(&error)) Messages::error(this, error);
    QDialog::accept();
}

}  // namespace nimbra
