// The commands of the main window: one QAction each, with its text, keys and
// icon, and the menus and the two toolbars (16 and 24 pixel images) made of
// them.
#pragma once

#include <QMap>
#include <QObject>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace nimbra {

enum class Command {
    Open,
    OpenServer,
    Login,
    Exit,
    ViewToolbar,
    ViewStatusbar,
    ReportBug,
    ReportFeature,
    Edit,
    Delete,
    SetFilters,
    SelectFilter,
    Refresh,
    PrintPreview,
    Print,
    SaveAsPdf,
    SelectProject,
    AssignUser,
    Synchronize,
    SystemInfo,
    ChangePassword,
    Options,
    Help,
    About
};

class MainActions : public QObject {
    Q_OBJECT
public:
    explicit MainActions(QMainWindow* window);

    QAction* operator[](Command command) const { return actions_.value(command); }

    // The menu bar: "&Database", "View", "&Bug", "&Manage", "&Tool", "&Help".
    void buildMenus(QDockWidget* projectPane, QDockWidget* detailPane);
    // One toolbar row with the given image size, docking at the top only.
    QToolBar* buildToolBar(int iconSize, const QString& objectName);
    // The pop-up of the Select Filter buttons' arrows.
    QMenu* filterMenu() const { return filterMenu_; }

private:
    QAction* add(Command command, const QString& text, const char* icon = nullptr);

    QMainWindow* window_;
    QMap<Command, QAction*> actions_;
    QMenu* filterMenu_ = nullptr;
};

}  // namespace nimbra
