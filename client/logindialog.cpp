#include "client/logindialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace nimbra {

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("loginDialog"));
    setWindowTitle(tr("Login"));
    login_ = new QLineEdit(this);
    login_->setObjectName(QStringLiteral("loginName"));
    login_->setMaxLength(255);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(64);
    auto* form = new QFormLayout;
    auto* loginLabel = new QLabel(tr("Login &name"), this);
    loginLabel->setBuddy(login_);
    auto* passwordLabel = new QLabel(tr("&Password"), this);
    passwordLabel->setBuddy(password_);
    form->addRow(loginLabel, login_);
    form->addRow(passwordLabel, password_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* loginButton = buttons->addButton(tr("&Login"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    loginButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString LoginDialog::loginName() const
{
    return login_->text();
}

QString LoginDialog::password() const
{
    return password_->text();
}

void LoginDialog::setLoginName(const QString& name)
{
    login_->setText(name);
}

void LoginDialog::setPassword(const QString& password)
{
    password_->setText(password);
}

}  // namespace nimbra
