#include "admin/sheetdialog.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "admin/sheetpage.h"
#include "widgets/helpviewer.h"

namespace nimbra {

SheetDialog::SheetDialog(const QString& title, const QString& helpTopic, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("sheetTabs"));
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this, helpTopic] { HelpViewer::open(this, helpTopic); });
    connect(tabs_, &QTabWidget::currentChanged, this, &SheetDialog::enterCurrentPage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

void SheetDialog::addPage(SheetPage* page)
{
    tabs_->addTab(page, page->title());
    if (tabs_->count() == 1) enterCurrentPage();
}

void SheetDialog::removePage(SheetPage* page)
{
    tabs_->removeTab(tabs_->indexOf(page));
    page->hide();
}

void SheetDialog::accept()
{
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* page = static_cast<SheetPage*>(tabs_->widget(i));
        if (!page->wasEntered() || page->leave()) continue;
        tabs_->setCurrentIndex(i);
        return;
    }
    QDialog::accept();
}

void SheetDialog::enterCurrentPage()
{
    if (auto* page = static_cast<SheetPage*>(tabs_->currentWidget())) page->enterOnce();
}

}  // namespace nimbra
