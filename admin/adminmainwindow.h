// The administration program's window: the engine context for the window's
// life, the user list, the menus and toolbar, and the commands that open
// and create databases and change users and projects. User and project
// commands need the database-open mark, set by a successful administrator
// login.
#pragma once

#include <lindor/lindor.h>

#include <QMainWindow>

#include <memory>

#include "admin/adminactions.h"
#include "widgets/programsettings.h"

class QLabel;

namespace nimbra {

class AdminView;

class AdminMainWindow : public QMainWindow {
    Q_OBJECT
public:
    static const QString kTitle;

    explicit AdminMainWindow(QWidget* parent = nullptr);
    ~AdminMainWindow() override;

    // False when the engine's context could not be created.
    bool isUsable() const { return static_cast<bool>(context_); }
    // Shows the window where the settings last left it.
    void showPlaced();

    void newDatabase();
    void openDatabaseCommand();
    void newServerDatabase();
    void openServerDatabaseCommand();
    // Opens the file, asks for the administrator's password and lists the
    // users. False when cancelled or refused.
    bool openDatabase(const QString& path);
    void addUser();
    void editUser();
    void deleteUser();
    void addProject();
    void editProjects();
    void showHelp();
    void showAbout();

    QAction* action(AdminCommand command) const { return actions_[command]; }
    AdminView* userList() const { return users_; }
    lindor::IExeContext* context() const { return context_.get(); }
    bool databaseIsOpen() const { return databaseOpen_; }
    // The status-bar note about an empty administrator password; empty when none.
    QString passwordNote() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Creates the database at a file path or server address, then offers to open it.
    void createDatabase(const QString& database);
    bool createContext();
    void connectCommands();
    void updateCommands();
    void setDatabaseOpen(bool open);
    bool loginAndList(const QString& password);
    bool fillUserList();
    void closeDatabase();
    void noteEmptyPassword(bool empty);

    ProgramSettings settings_;
    lindor::ComPtr<lindor::IExeContext> context_;
    AdminActions actions_;
    AdminView* users_ = nullptr;
    QLabel* passwordNote_ = nullptr;
    bool databaseOpen_ = false;
};

}  // namespace nimbra
