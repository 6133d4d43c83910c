#include "client/filternamedialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/messages.h"

namespace nimbra {

FilterNameDialog::FilterNameDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("filterNameDialog"));
    setWindowTitle(tr("Enter new filter's name"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("filterName"));
    auto* label = new QLabel(tr("Filter &name"), this);
    label->setBuddy(name_);
    auto* form = new QFormLayout;
    form->addRow(label, name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterNameDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

QString FilterNameDialog::name() const
{
    return name_->text();
}

void FilterNameDialog::setName(const QString& name)
{
    name_->setText(name);
    name_->selectAll();
}

void FilterNameDialog::accept()
{
    if (name().isEmpty()) {
        Messages::warning(this, QStringLiteral("Filter's name can't be empty!"));
        return;
    }
    // Two filters of one name would make the second, and every filter after
    // it, unreadable from the filter file.
    if (refused_.contains(name())) {
        Messages::warning(this,
                          QStringLiteral("A filter named \"%1\" already exists!").arg(name()));
        return;
    }
    QDialog::accept();
}

}  // namespace nimbra
