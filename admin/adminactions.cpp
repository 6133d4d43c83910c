#include "admin/adminactions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace nimbra {

namespace {

struct CommandText {
    AdminCommand command;
    const char* objectName;
    const char* text;
    const char* shortcut;
    const char* icon;    // file under :/admin/icons, or null
    const char* prompt;  // shown in the status bar
    const char* toolTip;
};

const CommandText kCommands[] = {
    {AdminCommand::NewDatabase, "newDatabase", "&New", "Ctrl+N", "new.svg", "Create a new database",
     "New Database"},
    {AdminCommand::OpenDatabase, "openDatabase", "&Open Database...", "Ctrl+O", "open.svg",
     "Open Database", "Open Database"},
    {AdminCommand::NewServerDatabase, "newServerDatabase", "New on &Server...", nullptr, nullptr,
     "Create a new database on a database server", "New Database on a Server"},
    {AdminCommand::OpenServerDatabase, "openServerDatabase", "Open on Se&rver...", nullptr, nullptr,
     "Open a database on a database server", "Open Database on a Server"},
    {AdminCommand::Exit, "exit", "E&xit", nullptr, nullptr, "Quit the program", "Exit"},
    {AdminCommand::AddUser, "addUser", "&Add User...", "Ctrl+A", "adduser.svg", "Add New User",
     "Add New User"},
    {AdminCommand::EditUser, "editUser", "&Edit User...", "Ctrl+E", "edituser.svg", "Edit User",
     "Edit User"},
    {AdminCommand::DeleteUser, "deleteUser", "&Delete User", "Ctrl+D", "deleteuser.svg",
     "Delete User", "Delete User"},
    {AdminCommand::AddProject, "addProject", "Add Project...", nullptr, "addproject.svg",
     "Add new project", "Add a new project"},
    {AdminCommand::EditProject, "editProject", "Edit Project...", nullptr, "editproject.svg",
     "Edit Projects", "Edit Projects"},
    {AdminCommand::Help, "help", "&Help", "F1", "help.svg", "Show the help pages", "Help"},
    {AdminCommand::About, "about", "&About Administrator...", nullptr, nullptr,
     "Show the program's name and version", "About"},
};

}  // namespace

AdminActions::AdminActions(QMainWindow* window)
{
    createActions(window);
    createMenus(window);
    createToolBar(window);
}

void AdminActions::createActions(QMainWindow* window)
{
    for (const CommandText& command : kCommands) {
        auto* action = new QAction(QObject::tr(command.text), window);
        action->setObjectName(QLatin1String(command.objectName));
        if (command.shortcut != nullptr)
            action->setShortcut(QKeySequence(QLatin1String(command.shortcut)));
        if (command.icon != nullptr)
            action->setIcon(QIcon(QStringLiteral(":/admin/icons/") + QLatin1String(command.icon)));
        action->setStatusTip(QObject::tr(command.prompt));
        action->setToolTip(QObject::tr(command.toolTip));
        actions_.insert(command.command, action);
    }
}

void AdminActions::createMenus(QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();
    QMenu* database = bar->addMenu(QObject::tr("&Database"));
    database->addAction(actions_[AdminCommand::NewDatabase]);
    database->addAction(actions_[AdminCommand::OpenDatabase]);
    database->addSeparator();
    database->addAction(actions_[AdminCommand::NewServerDatabase]);
    database->addAction(actions_[AdminCommand::OpenServerDatabase]);
    database->addSeparator();
    database->addAction(actions_[AdminCommand::Exit]);
    QMenu* users = bar->addMenu(QObject::tr("&User"));
    users->addAction(actions_[AdminCommand::AddUser]);
    users->addAction(actions_[AdminCommand::EditUser]);
    users->addAction(actions_[AdminCommand::DeleteUser]);
    QMenu* projects = bar->addMenu(QObject::tr("Project"));
    projects->addAction(actions_[AdminCommand::AddProject]);
    projects->addAction(actions_[AdminCommand::EditProject]);
    QMenu* help = bar->addMenu(QObject::tr("&Help"));
    help->addAction(actions_[AdminCommand::Help]);
    help->addAction(actions_[AdminCommand::About]);
}

void AdminActions::createToolBar(QMainWindow* window)
{
    toolBar_ = window->addToolBar(QObject::tr("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(false);
    const AdminCommand order[] = {AdminCommand::NewDatabase, AdminCommand::OpenDatabase,
                                  AdminCommand::AddUser,     AdminCommand::EditUser,
                                  AdminCommand::DeleteUser,  AdminCommand::AddProject,
                                  AdminCommand::EditProject, AdminCommand::Help};
    for (AdminCommand command : order) {
        if (command == AdminCommand::AddUser || command == AdminCommand::AddProject ||
            command == AdminCommand::Help)
            toolBar_->addSeparator();
        toolBar_->addAction(actions_[command]);
    }
}

}  // namespace nimbra
