#include "widgets/durationedit.h"

#include <QHBoxLayout>
#include <QSpinBox>

namespace nimbra {

namespace {

constexpr qint64 kMinutesPerDay = 24 * 60;
// The estimate is stored as 32-bit minutes: about four thousand years.
constexpr int kMostDays = 1000000;

}  // namespace

DurationEdit::DurationEdit(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    days_ = addPart(QStringLiteral("days"), tr(" d"), kMostDays);
    hours_ = addPart(QStringLiteral("hours"), tr(" h"), 23);
    minutes_ = addPart(QStringLiteral("minutes"), tr(" m"), 59);
    setFocusProxy(days_);
}

QSpinBox* DurationEdit::addPart(const QString& name, const QString& suffix, int maximum)
{
    auto* part = new QSpinBox(this);
    part->setObjectName(name);
    part->setRange(0, maximum);
    part->setSuffix(suffix);
    part->setAccelerated(true);
    layout()->addWidget(part);
    return part;
}

qint64 DurationEdit::seconds() const
{
    const qint64 minutes =
        days_->value() * kMinutesPerDay + hours_->value() * 60LL + minutes_->value();
    return minutes * 60;
}

void DurationEdit::setSeconds(qint64 seconds)
{
    const qint64 minutes = seconds > 0 ? seconds / 60 : 0;
    days_->setValue(static_cast<int>(std::min<qint64>(minutes / kMinutesPerDay, kMostDays)));
    hours_->setValue(static_cast<int>(minutes % kMinutesPerDay / 60));
    minutes_->setValue(static_cast<int>(minutes % 60));
}

}  // namespace nimbra
