#include "admin/usergeneralpage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "admin/formrows.h"
#include "admin/userfields.h"
#include "widgets/messages.h"

namespace nimbra {

UserGeneralPage::UserGeneralPage(QWidget* parent) : SheetPage(tr("General"), parent)
{
    setObjectName(QStringLiteral("userGeneralPage"));
    auto* intro = new QLabel(tr("A user is a person working in the team, who should be added into "
                                "a Role to be granted rights before he begins to work."),
                             this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    loginName_ = AddLineRow(form, tr("&Login Name:"), QStringLiteral("loginName"), 255);
    password_ = AddPasswordRow(form, tr("Enter &Password:"), QStringLiteral("password"), 64);
    confirmation_ =
        AddPasswordRow(form, tr("Enter &Again to Confirm:"), QStringLiteral("confirmation"), 64);
    userName_ = AddLineRow(form, tr("&User Name"), QStringLiteral("userName"), 255);
    description_ = AddLineRow(form, tr("&Description:"), QStringLiteral("description"), 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(form);
    layout->addStretch();
}

void UserGeneralPage::fillFrom(const UserFields& fields)
{
    loginName_->setText(fields.loginName);
    password_->setText(fields.password);
    confirmation_->setText(fields.confirmation);
    userName_->setText(fields.userName);
    description_->setText(fields.description);
}

void UserGeneralPage::readInto(UserFields* fields) const
{
    fields->loginName = loginName_->text();
    fields->password = password_->text();
    fields->confirmation = confirmation_->text();
    fields->userName = userName_->text();
    fields->description = description_->text();
}

void UserGeneralPage::fixLoginName()
{
    loginName_->setEnabled(false);
}

bool UserGeneralPage::leave()
{
    if (!inWizard()) return true;
    UserFields fields;
    readInto(&fields);
    const auto problem = fields.firstPageProblem();
    if (!problem) return true;
    if (problem->clearPasswords) {
        password_->clear();
        confirmation_->clear();
    }
    Messages::warning(this, problem->message);
    switch (problem->focus) {
        case UserFields::Field::LoginName:
            loginName_->setFocus();
            break;
        case UserFields::Field::Password:
            password_->setFocus();
            break;
        case UserFields::Field::UserName:
            userName_->setFocus();
            break;
    }
    return false;
}

}  // namespace nimbra
