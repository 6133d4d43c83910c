// The dialog "Assign user to classification": the users, and for the one
// selected the classifications of every project both that user and the
// current user work in, as check boxes. "&Assign" stores the checked
// classifications of each shown project for that user; the assignments of
// the user's other projects stay as they are.
#pragma once

#include <lindor/lindor.h>

#include <QDialog>
#include <QList>

#include <vector>

class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace nimbra {

class AssignClassDialog : public QDialog {
    Q_OBJECT
public:
    // True when the current user may assign classifications in at least one
    // project; otherwise shows "You have no right to assign classification
    // to user!".
    static bool mayOpen(lindor::IExeContext* context, QWidget* parent);
    // The right check, then the dialog.
    static void run(lindor::IExeContext* context, QWidget* parent);

    explicit AssignClassDialog(lindor::IExeContext* context, QWidget* parent = nullptr);

    QListWidget* users() const { return users_; }
    QTreeWidget* projects() const { return tree_; }

    // Rebuilds the tree for the user in row `row` of the list.
    void showUser(int row);
    // Stores the checked classifications of every shown project; an engine
    // failure is shown and the next project is still stored.
    void assign();

private:
    struct ShownUser {
        int id = 0;
        QString name;
        std::vector<lindor::ComPtr<lindor::IProject>> projects;
    };

    bool loadUsers();
    bool addProject(const ShownUser& user, lindor::IProject* project);
    int selectedUserId() const;

    // The check-box tree's own operations.
    QTreeWidgetItem* addGroup(const QString& text, int id);
    QTreeWidgetItem* addItem(QTreeWidgetItem* group, const QString& text, int id, bool checked);
    static QList<int> checkedIds(const QTreeWidgetItem* group);

    lindor::IExeContext* context_;
    std::vector<ShownUser> shown_;
    QListWidget* users_ = nullptr;
    QTreeWidget* tree_ = nullptr;
};

}  // namespace nimbra
