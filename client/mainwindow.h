// The client's main window: the engine context for the window's life, the
// two bug lists, the project and detail panes, the info bar, the menus and
// toolbars, and the flows that open a database, log in and activate a
// project.
#pragma once

#include <lindor/lindor.h>

#include <QMainWindow>

#include <memory>

#include "client/clientoptions.h"
#include "client/commandrules.h"
#include "client/mainactions.h"

class QLabel;
class QToolBar;

namespace nimbra {

class BugListView;
class BugTabView;
class ContextEvents;
class DetailPane;
class FilterCommands;
class InfoBar;
class ProgramSettings;
class ProjectPane;
class ReportPrinter;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kAllProjectsNoteId = 61490;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // False when the engine's context could not be created (the message was
    // shown); the program then ends.
    bool isUsable() const { return static_cast<bool>(context_); }
    // Shows the window as the saved placement says.
    void showPlaced();

    // The commands, as the menus run them.
    void openDatabaseCommand();
    void openServerDatabaseCommand();
    // A database file or a server address.
    bool openDatabase(const QString& path);
    void login();
    void runAutoLogin();
    void selectProject();
    void refresh();
    void deleteSelected();
    void changePassword();
    void systemInformation();
    void synchronize();
    void editCurrent();
    void reportNew(lindor::eBugType type);
    // The sheet "Options"; after OK the toolbar and every date text follow it.
    void editOptions();

    // Re-evaluates every command's enabled state.
    void updateCommands();
    CommandState commandState() const;

    lindor::IExeContext* context() const { return context_.get(); }
    const ClientOptions& options() const { return options_; }
    QAction* action(Command command) const { return (*actions_)[command]; }
    BugTabView* views() const { return views_; }
    BugListView* activeList() const;
    ProjectPane* projectPane() const { return projectPane_; }
    DetailPane* detailPane() const { return detailPane_; }
    InfoBar* infoBar() const { return infoBar_; }
    ReportPrinter* reports() const { return reports_; }
    FilterCommands* filters() const { return filters_; }
    QToolBar* shownToolBar() const;
    bool databaseIsOpen() const { return databaseOpen_; }
    bool isLoggedIn() const { return loggedIn_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openAndLogin(const QString& database);
    bool createContext();
    void createBars();
    void createPanes();
    void connectCommands();
    void loadOptions();
    void restoreLayout();
    void shutDown();

    void onLoggedIn(bool ok);
    void onProjectActivated(bool ok, int projectId, int versionId);
    void showProjectInInfoBar(int projectId, int versionId);
    void openBugSets();
    void showCurrentBug();
    void showListMenu(const QPoint& at);
    void updateStatusBar();
    void showAbout();
    void applyDisplayOptions();
    void showChosenToolBar(bool shown);
    // Every date text of the lists and the detail pane in the options' format.
    void applyDateFormat();

    lindor::ComPtr<lindor::IExeContext> context_;
    ContextEvents* events_ = nullptr;
    std::unique_ptr<ProgramSettings> settings_;
    ClientOptions options_;
    bool databaseOpen_ = false;
    bool loggedIn_ = false;
    bool shutDown_ = false;
    bool layoutRestored_ = false;
    lindor::ComPtr<lindor::IUserRight> currentRight_;
    QString databasePath_;

    MainActions* actions_ = nullptr;
    QToolBar* smallBar_ = nullptr;
    QToolBar* largeBar_ = nullptr;
    BugTabView* views_ = nullptr;
    ProjectPane* projectPane_ = nullptr;
    DetailPane* detailPane_ = nullptr;
    InfoBar* infoBar_ = nullptr;
    ReportPrinter* reports_ = nullptr;
    FilterCommands* filters_ = nullptr;
    QLabel* statusLabels_[4] = {};
};

}  // namespace nimbra
