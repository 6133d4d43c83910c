#include "admin/adminlogindialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace nimbra {

AdminLoginDialog::AdminLoginDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("adminLoginDialog"));
    setWindowTitle(tr("Login"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("adminPassword"));
    password_->setEchoMode(QLineEdit::Password);
    auto* label = new QLabel(tr("&Enter the password for administrator"), this);
    label->setBuddy(password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(password_);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

QString AdminLoginDialog::password() const
{
    return password_->text();
}

void AdminLoginDialog::setPassword(const QString& password)
{
    password_->setText(password);
}

}  // namespace nimbra
