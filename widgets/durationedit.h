// A duration in days, hours and minutes, as an estimate is entered. The
// value is in seconds; what it shows is whole minutes.
#pragma once

#include <QWidget>

class QSpinBox;

namespace nimbra {

class DurationEdit : public QWidget {
    Q_OBJECT
public:
    explicit DurationEdit(QWidget* parent = nullptr);

    qint64 seconds() const;
    // Shown to the minute below; a negative duration shows as 0.
    void setSeconds(qint64 seconds);

    QSpinBox* days() const { return days_; }
    QSpinBox* hours() const { return hours_; }
    QSpinBox* minutes() const { return minutes_; }

private:
    QSpinBox* addPart(const QString& name, const QString& suffix, int maximum);

    QSpinBox* days_ = nullptr;
    QSpinBox* hours_ = nullptr;
    QSpinBox* minutes_ = nullptr;
};

}  // namespace nimbra
