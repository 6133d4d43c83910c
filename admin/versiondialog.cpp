#include "admin/versiondialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "admin/formrows.h"
#include "widgets/enginedate.h"

namespace nimbra {

namespace {

// The engine's date 0 (no date) is this day, which the date edit shows empty.
const QDate kNoDate(1899, 12, 30);

}  // namespace

VersionDialog::VersionDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("versionDialog"));
    setWindowTitle(tr("Add Version"));
    auto* form = new QFormLayout;
    name_ = AddLineRow(form, tr("Version &name"), QStringLiteral("versionName"), 64);
    releaseDate_ = new QDateEdit(this);
    releaseDate_->setCalendarPopup(true);
    releaseDate_->setMinimumDate(kNoDate);
    releaseDate_->setSpecialValueText(QStringLiteral(" "));
    AddRow(form, tr("&Release date"), releaseDate_, QStringLiteral("releaseDate"));
    description_ = AddTextRow(form, tr("&Description"), QStringLiteral("versionDescription"), 1024);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    fillFrom({QString(), QString(), EngineDate::now()});
}

void VersionDialog::fillFrom(const VersionValues& values)
{
    name_->setText(values.name);
    description_->setPlainText(values.description);
    shownDate_ = values.releaseDate;
    const QDateTime when = EngineDate::toDateTime(values.releaseDate);
    releaseDate_->setDate(when.isValid() ? when.date() : kNoDate);
}

VersionValues VersionDialog::values() const
{
    VersionValues values{name_->text(), description_->toPlainText(), 0.0};
    const QDate day = releaseDate_->date();
    const QDateTime shown = EngineDate::toDateTime(shownDate_);
    if (day == kNoDate) return values;
    if (shown.isValid() && shown.date() == day) {
        values.releaseDate = shownDate_;
        return values;
    }
    values.releaseDate =
        EngineDate::fromDateTime(QDateTime(day, shown.isValid() ? shown.time() : QTime(0, 0)));
    return values;
}

}  // namespace nimbra
