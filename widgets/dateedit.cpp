#include "widgets/dateedit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLocale>
#include <QSignalBlocker>

#include <cmath>

#include "widgets/enginedate.h"

namespace nimbra {

namespace {

// The earliest date the control offers; it stands for "no date" and is shown
// blank.
const QDate kNoDate(1900, 1, 1);

// The locale's short date with the year in full, so no century is guessed.
QString DisplayFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

}  // namespace

DateEdit::DateEdit(QWidget* parent) : QWidget(parent)
{
    check_ = new QCheckBox(this);
    check_->setObjectName(QStringLiteral("hasDate"));
    check_->setToolTip(tr("Clear for no date"));
    edit_ = new QDateEdit(this);
    edit_->setObjectName(QStringLiteral("date"));
    edit_->setCalendarPopup(true);
    edit_->setDisplayFormat(DisplayFormat());
    edit_->setMinimumDate(kNoDate);
    edit_->setSpecialValueText(QStringLiteral(" "));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(check_);
    layout->addWidget(edit_, 1);
    setFocusProxy(edit_);
    connect(check_, &QCheckBox::toggled, this, &DateEdit::takeCheck);
    connect(edit_, &QDateEdit::dateChanged, this, &DateEdit::takeDate);
    showValue();
}

void DateEdit::setValue(double engineDate)
{
    value_ = std::isfinite(engineDate) ? engineDate : 0.0;
    showValue();
}

void DateEdit::showValue()
{
    showing_ = true;
    const QDateTime when = EngineDate::toDateTime(value_);
    check_->setChecked(when.isValid());
    edit_->setDate(when.isValid() ? when.date() : kNoDate);
    edit_->setEnabled(when.isValid());
    showing_ = false;
}

void DateEdit::takeCheck(bool checked)
{
    if (showing_) return;
    value_ = checked ? EngineDate::now() : 0.0;
    showValue();
    emit valueChanged(value_);
}

void DateEdit::takeDate()
{
    if (showing_ || !check_->isChecked()) return;
    QDateTime when = EngineDate::toDateTime(value_);
    if (!when.isValid()) when = QDateTime::currentDateTime();
    if (edit_->date() == kNoDate || edit_->date() == when.date()) return;
    when.setDate(edit_->date());
    value_ = EngineDate::fromDateTime(when);
    emit valueChanged(value_);
}

}  // namespace nimbra
