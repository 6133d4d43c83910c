#include "client/mainwindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include <nimbra/version.h>

#include "client/assignclassdialog.h"
#include "client/bugeditflow.h"
#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/changepassworddialog.h"
#include "client/contextevents.h"
#include "client/detailpane.h"
#include "client/filtercommands.h"
#include "client/infobar.h"
#include "client/logindialog.h"
#include "client/optionsheet.h"
#include "client/projectdialogs.h"
#include "client/projectpane.h"
#include "client/reportprinter.h"
#include "client/selectprojectdialog.h"
#include "client/sysinfodialog.h"
#include "client/updatingbox.h"
#include "widgets/barstate.h"
#include "widgets/engineerror.h"
#include "widgets/helpviewer.h"
#include "widgets/messages.h"
#include "widgets/notereminder.h"
#include "widgets/programsettings.h"
#include "widgets/serveraddress.h"
#include "widgets/windowplacement.h"

namespace nimbra {

namespace {

QString NameOf(lindor::IUser* user)
{
    std::string name;
    user->get_UserName(&name);
    return QString::fromStdString(name);
}

template <class T>
QString NameOf(T* object)
{
    std::string name;
    if (object != nullptr) object->get_Name(&name);
    return QString::fromStdString(name);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), settings_(std::make_unique<ProgramSettings>(QStringLiteral("Nimbra")))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Nimbra"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/nimbra.svg")));
    if (!createContext()) return;
    actions_ = new MainActions(this);
    createBars();
    views_ = new BugTabView(this);
    filters_ = new FilterCommands(context_.get(), views_, options_, this);
    setCentralWidget(views_);
    loadOptions();
    reports_ = new ReportPrinter(this, views_, options_);
    createPanes();
    actions_->buildMenus(projectPane_, detailPane_);
    connectCommands();
    if (options_.defaultDatabase()) QTimer::singleShot(0, this, &MainWindow::runAutoLogin);
    WindowPlacement::read(*settings_).applyTo(*this);
    restoreLayout();
    updateCommands();
}

MainWindow::~MainWindow()
{
    shutDown();
}

bool MainWindow::createContext()
{
    if (lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context_.put()) !=
            lindor::S_OK ||
        !context_) {
        context_.reset();
        Messages::error(this,
                        QStringLiteral("Cannot create object!\nPlease reinstall this software."));
        return false;
    }
    events_ = new ContextEvents(this);
    if (!events_->connectTo(context_.get())) {
        EngineError::show(this);
        context_.reset();
        return false;
    }
    connect(events_, &ContextEvents::loggedIn, this, [this](bool ok) { onLoggedIn(ok); });
    connect(events_, &ContextEvents::projectActivated, this, &MainWindow::onProjectActivated);
    return true;
}

void MainWindow::createBars()
{
    smallBar_ = actions_->buildToolBar(16, QStringLiteral("toolbarSmall"));
    largeBar_ = actions_->buildToolBar(24, QStringLiteral("toolbarLarge"));
    addToolBar(Qt::TopToolBarArea, smallBar_);
    addToolBar(Qt::TopToolBarArea, largeBar_);
    for (QToolBar* bar : {smallBar_, largeBar_}) {
        connect(bar, &QToolBar::visibilityChanged, this, &MainWindow::updateCommands);
    }
    for (QLabel*& label : statusLabels_) {
        label = new QLabel(this);
        label->setContentsMargins(6, 0, 6, 0);
        statusBar()->addPermanentWidget(label);
    }
    statusLabels_[0]->setObjectName(QStringLiteral("statusDatabase"));
    statusLabels_[1]->setObjectName(QStringLiteral("statusRows"));
    statusLabels_[2]->setObjectName(QStringLiteral("statusSelected"));
    statusLabels_[3]->setObjectName(QStringLiteral("statusFilter"));
}

void MainWindow::createPanes()
{
    infoBar_ = new InfoBar(this);
    auto* strip = new QToolBar(tr("Info Bar"), this);
    strip->setObjectName(QStringLiteral("infoBarStrip"));
    strip->setMovable(false);
    strip->setAllowedAreas(Qt::TopToolBarArea);
    strip->addWidget(infoBar_);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, strip);

    detailPane_ = new DetailPane(this);
    projectPane_ = new ProjectPane(this);
    projectPane_->setContext(context_.get());
    addDockWidget(Qt::BottomDockWidgetArea, detailPane_);
    addDockWidget(Qt::LeftDockWidgetArea, projectPane_);
    resizeDocks({projectPane_}, {170}, Qt::Horizontal);
    resizeDocks({detailPane_}, {150}, Qt::Vertical);
}

void MainWindow::connectCommands()
{
    auto on = [this](Command command, void (MainWindow::*run)()) {
        connect(action(command), &QAction::triggered, this, run);
    };
    on(Command::Open, &MainWindow::openDatabaseCommand);
    on(Command::OpenServer, &MainWindow::openServerDatabaseCommand);
    on(Command::Login, &MainWindow::login);
    on(Command::Refresh, &MainWindow::refresh);
    on(Command::Delete, &MainWindow::deleteSelected);
    on(Command::Edit, &MainWindow::editCurrent);
    connect(action(Command::ReportBug), &QAction::triggered, this,
            [this] { reportNew(lindor::eBug); });
    connect(action(Command::ReportFeature), &QAction::triggered, this,
            [this] { reportNew(lindor::eFeature); });
    on(Command::SelectProject, &MainWindow::selectProject);
    on(Command::Synchronize, &MainWindow::synchronize);
    on(Command::SystemInfo, &MainWindow::systemInformation);
    on(Command::ChangePassword, &MainWindow::changePassword);
    on(Command::About, &MainWindow::showAbout);
    on(Command::Options, &MainWindow::editOptions);
    connect(action(Command::SetFilters), &QAction::triggered, filters_,
            &FilterCommands::editFilters);
    connect(action(Command::SelectFilter), &QAction::triggered, filters_, &FilterCommands::toggle);
    connect(actions_->filterMenu(), &QMenu::aboutToShow, this,
            [this] { filters_->fillMenu(actions_->filterMenu()); });
    connect(filters_, &FilterCommands::filterChanged, this, &MainWindow::updateCommands);
    connect(action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(Command::Help), &QAction::triggered, this, [this] { HelpViewer::open(this); });
    connect(action(Command::Print), &QAction::triggered, reports_, &ReportPrinter::print);
    connect(action(Command::PrintPreview), &QAction::triggered, reports_, &ReportPrinter::preview);
    connect(action(Command::SaveAsPdf), &QAction::triggered, this,
            [this] { reports_->saveAsPdf(this); });
    connect(action(Command::AssignUser), &QAction::triggered, this,
            [this] { AssignClassDialog::run(context_.get(), this); });
    connect(projectPane_, &ProjectPane::classificationsRequested, this,
            [this](int id) { ProjectDialogs::editClassifications(context_.get(), id, this); });
    connect(projectPane_, &ProjectPane::propertiesRequested, this, [this](int id) {
        ProjectDialogs::showProperties(context_.get(), id, options_.dateFormat(), this);
    });
    connect(action(Command::ViewToolbar), &QAction::triggered, this,
            [this](bool shown) { shownToolBar()->setVisible(shown); });
    connect(action(Command::ViewStatusbar), &QAction::triggered, this, [this](bool shown) {
        statusBar()->setVisible(shown);
        updateCommands();
    });
    for (BugListView* list : {views_->bugs(), views_->features()}) {
        connect(list, &BugListView::currentBugChanged, this, [this] {
            showCurrentBug();
            updateCommands();
        });
        connect(list, &BugListView::bugActivated, this, &MainWindow::editCurrent);
        connect(list, &BugListView::menuRequested, this, &MainWindow::showListMenu);
    }
    connect(views_, &QTabWidget::currentChanged, this, [this] {
        showCurrentBug();
        updateCommands();
    });
}

void MainWindow::loadOptions()
{
    QString error;
    if (options_.load(&error) == ClientOptions::LoadResult::Failed) Messages::error(this, error);
}

void MainWindow::restoreLayout()
{
    layoutRestored_ = BarState::restore(*this, *settings_);
    showChosenToolBar(true);
    applyDateFormat();
}

void MainWindow::showChosenToolBar(bool shown)
{
    const bool large = options_.largeToolbarIcons();
    largeBar_->setVisible(large && shown);
    smallBar_->setVisible(!large && shown);
}

void MainWindow::applyDateFormat()
{
    for (BugListView* list : {views_->bugs(), views_->features()})
        list->bugModel()->setDateFormat(options_.dateFormat());
    showCurrentBug();
}

void MainWindow::showPlaced()
{
    WindowPlacement::read(*settings_).show(*this);
    // The default layout gives the lists two thirds of the height and the
    // project names room for their length.
    if (layoutRestored_) return;
    QTimer::singleShot(0, this, [this] {
        resizeDocks({detailPane_}, {height() / 3}, Qt::Vertical);
        resizeDocks({projectPane_}, {std::max(170, width() / 6)}, Qt::Horizontal);
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

void MainWindow::shutDown()
{
    if (shutDown_ || !context_) return;
    shutDown_ = true;
    WindowPlacement::of(*this).write(*settings_);
    BarState::save(*this, *settings_);
    settings_->sync();
    context_->Close();
    events_->disconnectFromContext();
}

QToolBar* MainWindow::shownToolBar() const
{
    return options_.largeToolbarIcons() ? largeBar_ : smallBar_;
}

BugListView* MainWindow::activeList() const
{
    return views_->activeList();
}

CommandState MainWindow::commandState() const
{
    CommandState state;
    state.databaseOpen = databaseOpen_;
    state.loggedIn = loggedIn_;
    context_->get_CurUserID(&state.curUserId);
    context_->get_ActiveProjectID(&state.activeProjectId);
    state.selectedRows = activeList()->selectedCount();
    lindor::ComPtr<lindor::IRight> right;
    if (context_->get_CurProjectRight(right.put()) == lindor::S_OK && right) {
        std::int32_t flag = 0;
        state.hasProjectRight = true;
        state.rightAdd = right->get_Add(&flag) == lindor::S_OK && flag != 0;
        state.rightDelete = right->get_Delete(&flag) == lindor::S_OK && flag != 0;
        state.rightEditBug = right->get_EditBug(&flag) == lindor::S_OK && flag != 0;
    }
    return state;
}

void MainWindow::updateCommands()
{
    if (!context_ || views_ == nullptr) return;
    const CommandRules rules(commandState());
    action(Command::Login)->setEnabled(rules.login());
    action(Command::Delete)->setEnabled(rules.remove());
    action(Command::ReportBug)->setEnabled(rules.reportBug());
    action(Command::ReportFeature)->setEnabled(rules.reportBug());
    action(Command::Edit)->setEnabled(rules.edit());
    for (Command command :
         {Command::Refresh, Command::Print, Command::PrintPreview, Command::SaveAsPdf})
        action(command)->setEnabled(rules.refreshOrPrint());
    for (Command command : {Command::SelectProject, Command::Synchronize, Command::SystemInfo,
                            Command::ChangePassword, Command::SetFilters, Command::SelectFilter})
        action(command)->setEnabled(rules.userCommands());
    action(Command::SelectFilter)->setChecked(filters_->activeListFiltered());
    action(Command::ViewToolbar)->setChecked(shownToolBar()->isVisible());
    action(Command::ViewStatusbar)->setChecked(statusBar()->isVisible());
    updateStatusBar();
}

void MainWindow::updateStatusBar()
{
    const BugListView* list = activeList();
    statusLabels_[0]->setText(databaseOpen_ ? databaseDisplayName(databasePath_)
                                            : tr("No database"));
    statusLabels_[1]->setText(tr("%n row(s)", nullptr, list->bugModel()->rowCount()));
    statusLabels_[2]->setText(tr("%n selected", nullptr, list->selectedCount()));
    const QString filter = filters_->activeFilterName();
    statusLabels_[3]->setText(filters_->activeListFiltered() ? tr("Filter: %1").arg(filter)
                                                             : tr("No filter"));
}

void MainWindow::openDatabaseCommand()
{
    QFileDialog dialog(this, tr("Open"), QFileInfo(databasePath_).path(),
                       tr("Nimbra database (*.mdb);;All files (*)"));
    dialog.setObjectName(QStringLiteral("openDatabaseDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("mdb"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    openAndLogin(dialog.selectedFiles().first());
}

void MainWindow::openServerDatabaseCommand()
{
    const QString address = ServerAddressDialog::ask(
        this, tr("Open on Server"), isServerAddress(databasePath_) ? databasePath_ : QString());
    if (!address.isEmpty()) openAndLogin(address);
}

void MainWindow::openAndLogin(const QString& database)
{
    if (!openDatabase(database)) {
        Messages::error(this, QStringLiteral("Open database failed!"));
        return;
    }
    projectPane_->clear();
    login();
}

bool MainWindow::openDatabase(const QString& path)
{
    databaseOpen_ = false;
    filters_->clear();
    views_->clearLists();
    infoBar_->clear();
    if (context_->OpenAccessDB(path.toStdString()) != lindor::S_OK) {
        EngineError::show(this);
        updateCommands();
        return false;
    }
    databaseOpen_ = true;
    loggedIn_ = false;
    databasePath_ = path;
    updateCommands();
    return true;
}

void MainWindow::login()
{
    LoginDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) {
        std::int32_t userId = 0;
        context_->get_CurUserID(&userId);
        if (userId == 0) {
            infoBar_->setUserName(QStringLiteral("None"));
            infoBar_->setProject(QString(), QString());
        }
        updateCommands();
        return;
    }
    if (context_->Login(dialog.loginName().toStdString(), dialog.password().toStdString()) !=
        lindor::S_OK) {
        EngineError::show(this);
        updateCommands();
        return;
    }
    SelectProjectDialog(context_.get(), this).exec();
    updateCommands();
}

void MainWindow::runAutoLogin()
{
    if (!openDatabase(options_.databasePath()) || !options_.useDefaultLogin()) return;
    if (context_->Login(options_.loginName().toStdString(), options_.password().toStdString()) !=
        lindor::S_OK) {
        EngineError::show(this);
        return;
    }
    if (options_.defaultProject() &&
        context_->SetActiveProject(options_.projectId(), options_.versionId()) != lindor::S_OK)
        EngineError::show(this);
    updateCommands();
}

void MainWindow::onLoggedIn(bool ok)
{
    loggedIn_ = ok;
    if (!ok) {
        updateCommands();
        return;
    }
    views_->clearLists();
    lindor::ComPtr<lindor::IUser> user;
    if (context_->get_CurUser(user.put()) != lindor::S_OK) EngineError::show(this);
    if (user) {
        lindor::ComPtr<lindor::IUserSysInfo> info;
        if (user->get_SysInfo(info.put()) == lindor::S_OK && !info) {
            Messages::information(this,
                                  QStringLiteral("Please enter your computer's software and "
                                                 "hardware information.\nClick OK to continue."));
            systemInformation();
        }
        infoBar_->setUserName(NameOf(user.get()));
        context_->get_CurRight(currentRight_.put());
        projectPane_->reload();
    }
    updateCommands();
}

void MainWindow::onProjectActivated(bool ok, int projectId, int versionId)
{
    if (!ok) return;
    if (projectId == 0) {
        NoteReminder::remind(
            this, *settings_, kAllProjectsNoteId,
            QStringLiteral("You cannot add new or edit bug/feature when activing all projects."));
    }
    showProjectInInfoBar(projectId, versionId);
    filters_->rebuild();
    openBugSets();
    projectPane_->markActive(projectId, versionId);
    updateCommands();
}

void MainWindow::showProjectInInfoBar(int projectId, int versionId)
{
    if (projectId == 0) {
        infoBar_->setProject(QStringLiteral("All"), QStringLiteral("All"));
        return;
    }
    lindor::ComPtr<lindor::IProject> project;
    lindor::ComPtr<lindor::IVersion> version;
    if (context_->get_ActiveProject(project.put()) != lindor::S_OK ||
        (versionId != 0 && context_->get_ActiveVersion(version.put()) != lindor::S_OK)) {
        EngineError::show(this);
        return;
    }
    infoBar_->setProject(NameOf(project.get()),
                         versionId == 0 ? QStringLiteral("All") : NameOf(version.get()));
}

void MainWindow::openBugSets()
{
    for (BugListView* list : {views_->bugs(), views_->features()}) {
        lindor::ComPtr<lindor::IBugSet> bugs;
        if (context_->OpenBugSet(list->type(), nullptr, bugs.put()) != lindor::S_OK) {
            EngineError::show(this);
            bugs.reset();
        }
        list->setBugSet(bugs);
    }
}

void MainWindow::showCurrentBug()
{
    const lindor::ComPtr<lindor::IBug> bug = activeList()->currentBug();
    detailPane_->showBug(context_.get(), bug.get(), options_.dateFormat());
}

void MainWindow::showListMenu(const QPoint& at)
{
    const CommandRules rules(commandState());
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("listMenu"));
    menu.addAction(action(Command::ReportBug)->icon(), tr("Report Bug..."), this,
                   [this] { reportNew(lindor::eBug); })
        ->setEnabled(rules.menuReport());
    menu.addAction(action(Command::ReportFeature)->icon(), tr("Report Feature..."), this,
                   [this] { reportNew(lindor::eFeature); })
        ->setEnabled(rules.menuReport());
    menu.addAction(action(Command::Edit)->icon(), tr("Edit..."), this, &MainWindow::editCurrent)
        ->setEnabled(rules.menuEdit());
    QAction* remove = menu.addAction(action(Command::Delete)->icon(), tr("Delete"), this,
                                     &MainWindow::deleteSelected);
    remove->setEnabled(rules.menuDelete());
    menu.exec(at);
}

void MainWindow::selectProject()
{
    SelectProjectDialog dialog(context_.get(), this);
    if (dialog.exec() == QDialog::Accepted) refresh();
}

void MainWindow::refresh()
{
    activeList()->refresh();
    updateCommands();
}

void MainWindow::deleteSelected()
{
    activeList()->deleteSelected();
    updateCommands();
}

void MainWindow::editCurrent()
{
    std::int32_t projectId = 0;
    context_->get_ActiveProjectID(&projectId);
    if (projectId == 0) {
        Messages::warning(this, QStringLiteral("You cannot edit the record, please activate one "
                                               "project or version first!"));
        return;
    }
    BugEditFlow(context_.get(), views_, options_.dateFormat(), this).editCurrent();
    updateCommands();
}

void MainWindow::reportNew(lindor::eBugType type)
{
    BugEditFlow(context_.get(), views_, options_.dateFormat(), this).reportNew(type);
    updateCommands();
}

void MainWindow::changePassword()
{
    ChangePasswordDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (context_->ChangePsw(dialog.oldPassword().toStdString(),
                            dialog.newPassword().toStdString()) != lindor::S_OK)
        EngineError::show(this);
}

void MainWindow::systemInformation()
{
    lindor::ComPtr<lindor::IUser> user;
    lindor::ComPtr<lindor::IUserSysInfo> info;
    if (context_->get_CurUser(user.put()) != lindor::S_OK || !user ||
        user->get_SysInfo(info.put()) != lindor::S_OK) {
        EngineError::show(this);
        return;
    }
    SysInfoDialog dialog(this);
    dialog.load(info.get());
    if (dialog.exec() != QDialog::Accepted) return;
    if (!info && lindor::CreateObject<lindor::IUserSysInfo>("Lindor.UserSysInfo.1", info.put()) !=
                     lindor::S_OK) {
        EngineError::show(this);
        return;
    }
    dialog.storeInto(info.get());
    if (user->put_SysInfo(info.get()) != lindor::S_OK) EngineError::show(this);
}

void MainWindow::synchronize()
{
    bool done = false;
    {
        UpdatingBox box(this);
        done = context_->Synchronize() == lindor::S_OK;
        if (done) {
            views_->bugs()->refresh();
            views_->features()->refresh();
        }
    }
    if (!done) EngineError::show(this);
    updateCommands();
}

void MainWindow::editOptions()
{
    OptionSheet sheet(&options_, this);
    if (sheet.exec() != QDialog::Accepted) return;
    applyDisplayOptions();
}

void MainWindow::applyDisplayOptions()
{
    // The toolbar of the other size takes the place of the shown one, hidden
    // if the user had hidden it.
    showChosenToolBar(!smallBar_->isHidden() || !largeBar_->isHidden());
    applyDateFormat();
    updateCommands();
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, tr("About Nimbra"),
                       tr("<p><b>Nimbra</b> %1</p><p>Bugs and feature requests of a small team, "
                          "kept in one shared database file.</p>")
                           .arg(QStringLiteral(NIMBRA_VERSION)));
}

}  // namespace nimbra
