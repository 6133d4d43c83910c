// The dialog "Change password": old, new and verified new password. OK with
// a new password that differs from its verification says so and stays open.
#pragma once

#include <QDialog>

class QFormLayout;
class QLineEdit;

namespace nimbra {

class ChangePasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChangePasswordDialog(QWidget* parent = nullptr);

    QString oldPassword() const;
    QString newPassword() const;
    void accept() override;

private:
    QLineEdit* addField(const QString& label, const QString& name);

    QFormLayout* form_ = nullptr;
    QLineEdit* old_ = nullptr;
    QLineEdit* new_ = nullptr;
    QLineEdit* verify_ = nullptr;
};

}  // namespace nimbra
