// "Select role to copy from": the names of all users; the one chosen gives
// his role to the user being edited.
#pragma once

#include <QDialog>
#include <QList>

class QListWidget;

namespace nimbra {

struct UserRow;

class CopyUserDialog : public QDialog {
    Q_OBJECT
public:
    explicit CopyUserDialog(const QList<UserRow>& users, QWidget* parent = nullptr);

    // The chosen user's ID, 0 when none is chosen.
    int chosenUserId() const;
    // Chooses the user with that user name; false when none has it.
    bool choose(const QString& userName);

private:
    QListWidget* users_ = nullptr;
};

}  // namespace nimbra
