#include "admin/copyuserdialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/userdirectory.h"

namespace nimbra {

CopyUserDialog::CopyUserDialog(const QList<UserRow>& users, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("copyUserDialog"));
    setWindowTitle(tr("Select role to copy from"));
    users_ = new QListWidget(this);
    users_->setObjectName(QStringLiteral("copyUsers"));
    for (const UserRow& user : users) {
        auto* item = new QListWidgetItem(user.userName, users_);
        item->setData(Qt::UserRole, user.id);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(users_, &QListWidget::currentItemChanged, ok,
            [ok](QListWidgetItem* current) { ok->setEnabled(current != nullptr); });
    connect(users_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(users_);
    layout->addWidget(buttons);
    resize(300, 320);
}

int CopyUserDialog::chosenUserId() const
{
    const QListWidgetItem* item = users_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : 0;
}

bool CopyUserDialog::choose(const QString& userName)
{
    const auto found = users_->findItems(userName, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    users_->setCurrentItem(found.first());
    return true;
}

}  // namespace nimbra
