// The dialog "Enter new filter's name" ("Filter name"), for a new filter and
// for renaming one. An empty name, or one of the refused names, keeps it
// open with a message.
#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;

namespace nimbra {

class FilterNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit FilterNameDialog(QWidget* parent = nullptr);

    QString name() const;
    void setName(const QString& name);
    // Names other filters already have (when renaming).
    void setRefusedNames(const QStringList& names) { refused_ = names; }

    void accept() override;

private:
    QLineEdit* name_ = nullptr;
    QStringList refused_;
};

}  // namespace nimbra
