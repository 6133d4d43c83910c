#include "client/optionotherpage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/clientoptions.h"
#include "client/dateformatpatterns.h"

namespace nimbra {

OptionOtherPage::OptionOtherPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("otherPage"));
    auto* group = new QGroupBox(tr("Set the format of date"), this);
    pattern_ = new QLineEdit(group);
    pattern_->setObjectName(QStringLiteral("datePattern"));
    pattern_->setPlaceholderText(tr("The system's short date"));
    format_ = new QPushButton(tr("&Format"), group);
    format_->setObjectName(QStringLiteral("formatButton"));
    formats_ = new QMenu(format_);
    formats_->setObjectName(QStringLiteral("formatMenu"));
    // The example stands in the menu's second column, after the tab.
    for (const DateFormatPatterns::Entry& entry : DateFormatPatterns::entries()) {
        const QString pattern = entry.pattern;
        formats_->addAction(pattern + QStringLiteral("  \t") + entry.example, this,
                            [this, pattern] { pattern_->setText(pattern); });
    }
    connect(format_, &QPushButton::clicked, this,
            [this] { formats_->popup(format_->mapToGlobal(QPoint(0, format_->height()))); });
    auto* row = new QHBoxLayout(group);
    row->addWidget(pattern_, 1);
    row->addWidget(format_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
}

void OptionOtherPage::load(const ClientOptions& options)
{
    pattern_->setText(DateFormatPatterns::toPattern(options.dateFormat()));
}

void OptionOtherPage::store(ClientOptions* options) const
{
    options->setDateFormat(DateFormatPatterns::toCodes(pattern_->text()));
}

}  // namespace nimbra
