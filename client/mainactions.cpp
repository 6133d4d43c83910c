#include "client/mainactions.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace nimbra {

MainActions::MainActions(QMainWindow* window) : QObject(window), window_(window)
{
    add(Command::Open, tr("&Open..."), "open")->setShortcut(QKeySequence(tr("Ctrl+O")));
    add(Command::OpenServer, tr("Open on &Server..."));
    add(Command::Login, tr("&Login..."), "login")->setShortcut(QKeySequence(tr("Ctrl+L")));
    add(Command::Exit, tr("E&xit"));
    add(Command::ViewToolbar, tr("Toolbar"))->setCheckable(true);
    add(Command::ViewStatusbar, tr("Statusbar"))->setCheckable(true);
    add(Command::ReportBug, tr("&Report Bug..."), "reportbug")
        ->setShortcut(QKeySequence(tr("Ctrl+B")));
    add(Command::ReportFeature, tr("R&eport Feature..."), "reportfeature")
        ->setShortcut(QKeySequence(tr("Ctrl+F")));
    add(Command::Edit, tr("E&dit..."), "edit")
        ->setShortcuts({QKeySequence(tr("Ctrl+E")), QKeySequence(Qt::Key_Return)});
    add(Command::Delete, tr("Dele&te"), "delete")
        ->setShortcuts({QKeySequence(tr("Ctrl+D")), QKeySequence(QKeySequence::Delete)});
    add(Command::SetFilters, tr("Set &Filters..."), "setfilters");
    add(Command::SelectFilter, tr("Select Filter"), "selectfilter")->setCheckable(true);
    add(Command::Refresh, tr("&Refresh"), "refresh")->setShortcut(QKeySequence(Qt::Key_F5));
    add(Command::PrintPreview, tr("Print Preview"), "preview");
    add(Command::Print, tr("&Print"), "print")->setShortcut(QKeySequence(tr("Ctrl+P")));
    add(Command::SaveAsPdf, tr("Sa&ve as PDF..."), "pdf");
    add(Command::SelectProject, tr("Select &Current Project..."));
    add(Command::AssignUser, tr("&Assign User to Classification..."));
    add(Command::Synchronize, tr("&Synchronize"));
    add(Command::SystemInfo, tr("&System Infomation..."), "sysinfo");
    add(Command::ChangePassword, tr("&Change Password..."), "login");
    add(Command::Options, tr("&Options..."));
    add(Command::Help, tr("&Help..."), "help")->setShortcut(QKeySequence(Qt::Key_F1));
    add(Command::About, tr("&About Nimbra..."), "nimbra");
    filterMenu_ = new QMenu(window_);
    filterMenu_->setObjectName(QStringLiteral("filterMenu"));
}

QAction* MainActions::add(Command command, const QString& text, const char* icon)
{
    auto* action = new QAction(text, window_);
    if (icon != nullptr)
        action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))));
    // Shortcuts of the window's actions work wherever the focus is in it.
    action->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(action);
    actions_.insert(command, action);
    return action;
}

void MainActions::buildMenus(QDockWidget* projectPane, QDockWidget* detailPane)
{
    QMenuBar* bar = window_->menuBar();
    QMenu* database = bar->addMenu(tr("&Database"));
    database->addAction(actions_[Command::Open]);
    database->addAction(actions_[Command::OpenServer]);
    database->addAction(actions_[Command::Login]);
    database->addSeparator();
    database->addAction(actions_[Command::PrintPreview]);
    database->addAction(actions_[Command::Print]);
    database->addAction(actions_[Command::SaveAsPdf]);
    database->addSeparator();
    database->addAction(actions_[Command::Exit]);

    QMenu* view = bar->addMenu(tr("View"));
    view->addAction(actions_[Command::ViewToolbar]);
    view->addAction(actions_[Command::ViewStatusbar]);
    QAction* projects = projectPane->toggleViewAction();
    projects->setText(tr("Project Pane"));
    view->addAction(projects);
    QAction* details = detailPane->toggleViewAction();
    details->setText(tr("Info Pane"));
    view->addAction(details);
    view->addSeparator();
    view->addAction(actions_[Command::Refresh]);

    QMenu* bug = bar->addMenu(tr("&Bug"));
    for (Command command :
         {Command::ReportBug, Command::ReportFeature, Command::Edit, Command::Delete})
        bug->addAction(actions_[command]);
    bug->addSeparator();
    bug->addAction(actions_[Command::SetFilters]);

    QMenu* manage = bar->addMenu(tr("&Manage"));
    manage->addAction(actions_[Command::SelectProject]);
    manage->addAction(actions_[Command::AssignUser]);
    manage->addAction(actions_[Command::Synchronize]);

    QMenu* tool = bar->addMenu(tr("&Tool"));
    tool->addAction(actions_[Command::SystemInfo]);
    tool->addAction(actions_[Command::ChangePassword]);
    tool->addSeparator();
    tool->addAction(actions_[Command::Options]);

    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(actions_[Command::Help]);
    help->addAction(actions_[Command::About]);
}

QToolBar* MainActions::buildToolBar(int iconSize, const QString& objectName)
{
    auto* bar = new QToolBar(tr("Toolbar"), window_);
    bar->setObjectName(objectName);
    bar->setIconSize(QSize(iconSize, iconSize));
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->addAction(actions_[Command::Open]);
    bar->addAction(actions_[Command::Login]);
    bar->addSeparator();
    bar->addAction(actions_[Command::Print]);
    bar->addAction(actions_[Command::PrintPreview]);
    bar->addSeparator();
    for (Command command :
         {Command::ReportBug, Command::ReportFeature, Command::Edit, Command::Delete})
        bar->addAction(actions_[command]);
    bar->addSeparator();
    bar->addAction(actions_[Command::Refresh]);
    bar->addSeparator();
    auto* selectFilter = new QToolButton(bar);
    selectFilter->setDefaultAction(actions_[Command::SelectFilter]);
    selectFilter->setMenu(filterMenu_);
    selectFilter->setPopupMode(QToolButton::MenuButtonPopup);
    bar->addWidget(selectFilter);
    bar->addAction(actions_[Command::SetFilters]);
    bar->addSeparator();
    bar->addAction(actions_[Command::Help]);
    return bar;
}

}  // namespace nimbra
