// The commands of the administration program as actions: their texts,
// shortcuts, prompts and icons, the menus and the toolbar that show them.
#pragma once

#include <QHash>

class QAction;
class QMainWindow;
class QToolBar;

namespace nimbra {

enum class AdminCommand {
    NewDatabase,
    OpenDatabase,
    NewServerDatabase,
    OpenServerDatabase,
    Exit,
    AddUser,
    EditUser,
    DeleteUser,
    AddProject,
    EditProject,
    Help,
    About,
};

class AdminActions {
public:
    // Creates the actions with `window` as their parent and puts them into
    // its menu bar and into one toolbar of 16 by 16 pixel buttons.
    explicit AdminActions(QMainWindow* window);

    QAction* operator[](AdminCommand command) const { return actions_.value(command); }
    QToolBar* toolBar() const { return toolBar_; }

private:
    void createActions(QMainWindow* window);
    void createMenus(QMainWindow* window);
    void createToolBar(QMainWindow* window);

    QHash<AdminCommand, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
};

}  // namespace nimbra
