#include "client/selectfilterdialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace nimbra {

SelectFilterDialog::SelectFilterDialog(const QStringList& names, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("selectFilterDialog"));
    setWindowTitle(tr("Select a filter"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("filterList"));
    list_->addItems(names);
    if (!names.isEmpty()) list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(this);
    copy_ = buttons->addButton(tr("Copy"), QDialogButtonBox::AcceptRole);
    copy_->setObjectName(QStringLiteral("copyButton"));
    copy_->setDefault(true);
    copy_->setEnabled(!names.isEmpty());
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(300, 260);
}

QString SelectFilterDialog::chosen() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item == nullptr ? QString() : item->text();
}

}  // namespace nimbra
