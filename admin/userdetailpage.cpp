#include "admin/userdetailpage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "admin/formrows.h"
#include "admin/userfields.h"

namespace nimbra {

UserDetailPage::UserDetailPage(QWidget* parent) : SheetPage(tr("Detail information"), parent)
{
    setObjectName(QStringLiteral("userDetailPage"));
    auto* intro = new QLabel(tr("Add more information about the user below"), this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    department_ = AddLineRow(form, tr("&Department:"), QStringLiteral("department"), 255);
    position_ = AddLineRow(form, tr("&Position:"), QStringLiteral("position"), 255);
    email_ = AddLineRow(form, tr("&E-Mail:"), QStringLiteral("email"), 255);
    address_ = AddLineRow(form, tr("&Address:"), QStringLiteral("address"), 255);
    phone_ = AddLineRow(form, tr("P&hone:"), QStringLiteral("phone"), 25);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(form);
    layout->addStretch();
}

void UserDetailPage::fillFrom(const UserFields& fields)
{
    department_->setText(fields.department);
    position_->setText(fields.position);
    email_->setText(fields.email);
    address_->setText(fields.address);
    phone_->setText(fields.phone);
}

void UserDetailPage::readInto(UserFields* fields) const
{
    fields->department = department_->text();
    fields->position = position_->text();
    fields->email = email_->text();
    fields->address = address_->text();
    fields->phone = phone_->text();
}

}  // namespace nimbra
