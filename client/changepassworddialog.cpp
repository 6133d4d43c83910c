#include "client/changepassworddialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/messages.h"

namespace nimbra {

ChangePasswordDialog::ChangePasswordDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("changePasswordDialog"));
    setWindowTitle(tr("Change password"));
    form_ = new QFormLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    old_ = addField(tr("&Old password"), QStringLiteral("oldPassword"));
    new_ = addField(tr("&New password"), QStringLiteral("newPassword"));
    verify_ = addField(tr("&Verify password"), QStringLiteral("verifyPassword"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChangePasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QLineEdit* ChangePasswordDialog::addField(const QString& label, const QString& name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    field->setMaxLength(64);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    form_->addRow(caption, field);
    return field;
}

QString ChangePasswordDialog::oldPassword() const
{
    return old_->text();
}

QString ChangePasswordDialog::newPassword() const
{
    return new_->text();
}

void ChangePasswordDialog::accept()
{
    if (new_->text() != verify_->text()) {
        Messages::warning(this, QStringLiteral("The password doesn't match!"));
        return;
    }
    QDialog::accept();
}

}  // namespace nimbra
