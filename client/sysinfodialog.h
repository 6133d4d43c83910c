// The dialog "Enter your computer system infomation": the nine texts of a
// user's system information, with suggestions (this machine's own first).
#pragma once

#include <lindor/lindor.h>

#include <QDialog>
#include <QList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace nimbra {

class SysInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit SysInfoDialog(QWidget* parent = nullptr);

    // Fills the fields from `info`; null fills in this machine's own values.
    void load(lindor::IUserSysInfo* info);
    // Puts the nine texts into `info`, in their order.
    void storeInto(lindor::IUserSysInfo* info) const;

    QString text(int index) const;
    void setText(int index, const QString& text);

private:
    QComboBox* addChoice(int index, const QStringList& suggestions);

    QList<QComboBox*> choices_;  // by field index; null for the free texts
    QLineEdit* osBuild_ = nullptr;
    QPlainTextEdit* network_ = nullptr;
    QPlainTextEdit* note_ = nullptr;
};

}  // namespace nimbra
