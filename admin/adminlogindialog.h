// The dialog "Login": the administrator's password, masked.
#pragma once

#include <QDialog>

class QLineEdit;

namespace nimbra {

class AdminLoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit AdminLoginDialog(QWidget* parent = nullptr);

    QString password() const;
    void setPassword(const QString& password);

private:
    QLineEdit* password_ = nullptr;
};

}  // namespace nimbra
