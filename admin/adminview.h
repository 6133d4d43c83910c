// The list of users that fills the main window: "Login Name", "User Name"
// and "Description", one row per user carrying his ID, always sorted by
// login name (letter case aside), one row selected at a time.
#pragma once

#include <QList>
#include <QTreeWidget>

namespace nimbra {

struct UserRow;

class AdminView : public QTreeWidget {
    Q_OBJECT
public:
    explicit AdminView(QWidget* parent = nullptr);

    void showUsers(const QList<UserRow>& users);
    void addUser(const UserRow& user);
    // Changes the texts of the row of user.id.
    void updateUser(const UserRow& user);
    void removeUser(int id);

    // The selected row's user ID; 0 when no row is selected.
    int selectedUserId() const;
    bool selectUser(int id);
    QTreeWidgetItem* rowOf(int id) const;

    // The text drawn over the list while it has no row, so that an empty
    // window says what to do; empty for none.
    void setEmptyNote(const QString& note);
    QString emptyNote() const { return emptyNote_; }

signals:
    void userActivated();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static void setTexts(QTreeWidgetItem* item, const UserRow& user);

    QString emptyNote_;
};

}  // namespace nimbra
