// The dialog "Enter name": one name, for adding or renaming a classification.
// OK stays disabled while the name is blank.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace nimbra {

class EnterNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit EnterNameDialog(const QString& name = QString(), QWidget* parent = nullptr);

    QString name() const;
    void setName(const QString& name);

private:
    QLineEdit* edit_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace nimbra
