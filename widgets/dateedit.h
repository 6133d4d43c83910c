// A date control over the engine's date value (days since 30 December 1899,
// the fraction the time of day), where 0 means "no date": the check box in
// front of the date is then clear and the date blank. Ticking it gives
// today; changing the day keeps the time of day the value had.
#pragma once

#include <QWidget>

class QCheckBox;
class QDateEdit;

namespace nimbra {

class DateEdit : public QWidget {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    // Exactly the value last set, unless the user changed the date since.
    double value() const { return value_; }
    void setValue(double engineDate);
    bool hasDate() const { return value_ != 0.0; }

    QCheckBox* checkBox() const { return check_; }
    QDateEdit* dateEdit() const { return edit_; }

signals:
    void valueChanged(double value);

private:
    void showValue();
    void takeCheck(bool checked);
    void takeDate();

    QCheckBox* check_ = nullptr;
    QDateEdit* edit_ = nullptr;
    double value_ = 0.0;
    bool showing_ = false;
};

}  // namespace nimbra
