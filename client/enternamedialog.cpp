#include "client/enternamedialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace nimbra {

namespace {

constexpr int kNameLength = 255;  // what the database keeps of a classification's name

}  // namespace

EnterNameDialog::EnterNameDialog(const QString& name, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("enterNameDialog"));
    setWindowTitle(tr("Enter name"));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("nameEdit"));
    edit_->setMaxLength(kNameLength);
    auto* label = new QLabel(tr("&Enter name below"), this);
    label->setBuddy(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ok_->setEnabled(!text.trimmed().isEmpty()); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setName(name);
    edit_->selectAll();
    setMinimumWidth(300);
}

QString EnterNameDialog::name() const
{
    return edit_->text().trimmed();
}

void EnterNameDialog::setName(const QString& name)
{
    edit_->setText(name);
    ok_->setEnabled(!name.trimmed().isEmpty());
}

}  // namespace nimbra
