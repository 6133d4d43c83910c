// The dialog "Select a filter": the filters that "Copy to" may copy the
// conditions of the selected filter into; its button is "Copy".
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace nimbra {

class SelectFilterDialog : public QDialog {
    Q_OBJECT
public:
    SelectFilterDialog(const QStringList& names, QWidget* parent = nullptr);

    // Empty when nothing is selected.
    QString chosen() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_ = nullptr;
    QPushButton* copy_ = nullptr;
};

}  // namespace nimbra
