// The dialog "Login": login name and masked password.
#pragma once

#include <QDialog>

class QLineEdit;

namespace nimbra {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(QWidget* parent = nullptr);

    QString loginName() const;
    QString password() const;
    void setLoginName(const QString& name);
    void setPassword(const QString& password);

private:
    QLineEdit* login_ = nullptr;
    QLineEdit* password_ = nullptr;
};

}  // namespace nimbra
