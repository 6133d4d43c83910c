#include "admin/adminmainwindow.h"

#include <nimbra/version.h>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

#include "admin/adminlogindialog.h"
#include "admin/adminview.h"
#include "admin/databasefiledialog.h"
#include "admin/projectdirectory.h"
#include "admin/projecteditsheet.h"
#include "admin/projectlistdialog.h"
#include "admin/synchronizequestion.h"
#include "admin/userdirectory.h"
#include "admin/userfields.h"
#include "admin/usersheet.h"
#include "admin/versionlist.h"
#include "widgets/engineerror.h"
#include "widgets/helpviewer.h"
#include "widgets/messages.h"
#include "widgets/serveraddress.h"
#include "widgets/waitcursor.h"
#include "widgets/windowplacement.h"

namespace nimbra {

const QString AdminMainWindow::kTitle = QStringLiteral("Nimbra Administrator");

namespace {

// The built-in administrator every database starts with.
constexpr int kAdministratorId = 1;

}  // namespace

AdminMainWindow::AdminMainWindow(QWidget* parent)
    : QMainWindow(parent), settings_(kTitle), actions_(this)
{
    setObjectName(QStringLiteral("adminMainWindow"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/admin/icons/nimbra-admin.svg")));
    WindowPlacement::read(settings_).applyTo(*this);
    users_ = new AdminView(this);
    setCentralWidget(users_);
    passwordNote_ = new QLabel(this);
    passwordNote_->setObjectName(QStringLiteral("passwordNote"));
    statusBar()->addWidget(passwordNote_, 1);
    passwordNote_->hide();
    connectCommands();
    setDatabaseOpen(false);
    createContext();
}

AdminMainWindow::~AdminMainWindow()
{
    if (context_) context_->Close();
}

void AdminMainWindow::showPlaced()
{
    WindowPlacement::read(settings_).show(*this);
}

bool AdminMainWindow::createContext()
{
    if (lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context_.put()) ==
        lindor::S_OK)
        return true;
    context_.reset();
    EngineError::show(this);
    return false;
}

void AdminMainWindow::connectCommands()
{
    const std::pair<AdminCommand, void (AdminMainWindow::*)()> commands[] = {
        {AdminCommand::NewDatabase, &AdminMainWindow::newDatabase},
        {AdminCommand::OpenDatabase, &AdminMainWindow::openDatabaseCommand},
        {AdminCommand::NewServerDatabase, &AdminMainWindow::newServerDatabase},
        {AdminCommand::OpenServerDatabase, &AdminMainWindow::openServerDatabaseCommand},
        {AdminCommand::AddUser, &AdminMainWindow::addUser},
        {AdminCommand::EditUser, &AdminMainWindow::editUser},
        {AdminCommand::DeleteUser, &AdminMainWindow::deleteUser},
        {AdminCommand::AddProject, &AdminMainWindow::addProject},
        {AdminCommand::EditProject, &AdminMainWindow::editProjects},
        {AdminCommand::Help, &AdminMainWindow::showHelp},
        {AdminCommand::About, &AdminMainWindow::showAbout},
    };
    for (const auto& [command, slot] : commands)
        connect(actions_[command], &QAction::triggered, this, slot);
    connect(actions_[AdminCommand::Exit], &QAction::triggered, this, &QWidget::close);
    connect(users_, &QTreeWidget::itemSelectionChanged, this, &AdminMainWindow::updateCommands);
    connect(users_, &AdminView::userActivated, this, &AdminMainWindow::editUser);
}

// User and project commands need the administrator logged in; editing and
// deleting need a row.
void AdminMainWindow::updateCommands()
{
    const bool rowSelected = users_->selectedUserId() != 0;
    actions_[AdminCommand::AddUser]->setEnabled(databaseOpen_);
    actions_[AdminCommand::EditUser]->setEnabled(databaseOpen_ && rowSelected);
    actions_[AdminCommand::DeleteUser]->setEnabled(databaseOpen_ && rowSelected);
    actions_[AdminCommand::AddProject]->setEnabled(databaseOpen_);
    actions_[AdminCommand::EditProject]->setEnabled(databaseOpen_);
}

void AdminMainWindow::setDatabaseOpen(bool open)
{
    databaseOpen_ = open;
    users_->setEmptyNote(open ? QString()
                              : tr("No database is open.\n\nOpen one with Database > Open "
                                   "Database... (Ctrl+O), or create one with Database > New "
                                   "(Ctrl+N)."));
    updateCommands();
}

void AdminMainWindow::newDatabase()
{
    const QString path = DatabaseFileDialog::askNew(this);
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path)) {
        Messages::warning(
            this, QStringLiteral("%1 alread exists, please choose another file.").arg(path));
        return;
    }
    createDatabase(path);
}

void AdminMainWindow::newServerDatabase()
{
    const QString address = ServerAddressDialog::ask(this, tr("New Database on a Server"));
    if (!address.isEmpty()) createDatabase(address);
}

void AdminMainWindow::createDatabase(const QString& path)
{
    lindor::HRESULT created = lindor::E_FAIL;
    {
        WaitCursor wait;
        lindor::ComPtr<lindor::IAdmin> creator;
        if (lindor::CreateObject<lindor::IAdmin>("Lindor.Admin.1", creator.put()) == lindor::S_OK)
            created = creator->NewMDB(path.toStdString());
    }
    // The engine logs why a creation failed but leaves no description for
    // the caller, so the program names the file itself.
    if (created != lindor::S_OK) {
        Messages::error(this, tr("Database %1 could not be created. The error log \"Err.log\" "
                                 "says why.")
                                  .arg(path));
        return;
    }
    Messages::information(this, QStringLiteral("Database %1 was successfully created.").arg(path));
    if (Messages::askYesNo(this, QStringLiteral("Do you want to open this database now, the "
                                                "default admin password is empty!")))
        openDatabase(path);
}

void AdminMainWindow::openDatabaseCommand()
{
    const bool firstRun = settings_.takeFirstRun();
    const QString path = DatabaseFileDialog::askOpen(
        this, firstRun ? QApplication::applicationDirPath() : QString());
    if (path.isEmpty()) return;
    openDatabase(path);
}

void AdminMainWindow::openServerDatabaseCommand()
{
    const QString address = ServerAddressDialog::ask(this, tr("Open Database on a Server"));
    if (!address.isEmpty()) openDatabase(address);
}

bool AdminMainWindow::openDatabase(const QString& path)
{
    setDatabaseOpen(false);
    users_->setEmptyNote(QString());  // a file is being opened, not missing
    noteEmptyPassword(false);
    setWindowTitle(kTitle + QStringLiteral(" - ") + path);
    if (context_->OpenAccessDB(path.toStdString()) != lindor::S_OK) {
        EngineError::show(this);
        closeDatabase();
        return false;
    }
    AdminLoginDialog login(this);
    if (login.exec() != QDialog::Accepted) {
        closeDatabase();
        return false;
    }
    if (!loginAndList(login.password())) {
        EngineError::show(this);
        closeDatabase();
        return false;
    }
    setDatabaseOpen(true);
    noteEmptyPassword(login.password().isEmpty());
    return true;
}

bool AdminMainWindow::loginAndList(const QString& password)
{
    return context_->Login(UserFields::administratorLogin().toStdString(),
                           password.toStdString()) == lindor::S_OK &&
           fillUserList();
}

bool AdminMainWindow::fillUserList()
{
    QList<UserRow> rows;
    if (!UserDirectory(context_.get()).list(&rows)) return false;
    users_->showUsers(rows);
    return true;
}

// Nothing is open any more: the list that belonged to the file goes with it.
void AdminMainWindow::closeDatabase()
{
    context_->Close();
    users_->clear();
    setDatabaseOpen(false);
    setWindowTitle(kTitle);
}

void AdminMainWindow::addUser()
{
    if (!databaseOpen_) return;
    UserSheet sheet(UserSheet::Mode::Wizard, context_.get(), this);
    if (!sheet.exec()) return;
    const UserDirectory directory(context_.get());
    const UserFields fields = sheet.fields();
    int id = 0;
    if (!directory.add(fields, &id)) {
        EngineError::show(this);
        return;
    }
    if (!directory.assignRole(id, sheet.role())) EngineError::show(this);
    if (id != 0) users_->addUser({id, fields.loginName, fields.userName, fields.description});
}

void AdminMainWindow::editUser()
{
    const int id = users_->selectedUserId();
    if (!databaseOpen_ || id == 0) return;
    const UserDirectory directory(context_.get());
    UserDirectory::Found found;
    if (!directory.find(id, &found)) {
        EngineError::show(this);
        return;
    }
    if (!found) return;
    const UserFields stored = UserFields::of(found.item.get());
    lindor::ComPtr<lindor::IUserRight> role;
    if (!stored.isAdministrator() && found.item->get_Right(role.put()) != lindor::S_OK) {
        EngineError::show(this);
        return;
    }
    UserSheet sheet(UserSheet::Mode::Sheet, context_.get(), this);
    sheet.setUser(stored, role);
    if (!sheet.exec()) return;
    const UserFields fields = sheet.fields();
    if (!directory.update(found, fields)) {
        EngineError::show(this);
        return;
    }
    if (!fields.isAdministrator() && !directory.assignRole(id, sheet.role()))
        EngineError::show(this);
    users_->updateUser({id, fields.loginName, fields.userName, fields.description});
    if (fields.isAdministrator()) noteEmptyPassword(fields.password.isEmpty());
    SynchronizeQuestion::ask(this, context_.get());
}

void AdminMainWindow::deleteUser()
{
    const int id = users_->selectedUserId();
    if (!databaseOpen_ || id == 0) return;
    if (!Messages::askYesNo(this, QStringLiteral("Do you really want to delete this user?")))
        return;
    if (!UserDirectory(context_.get()).remove(id)) {
        EngineError::show(this);
        return;
    }
    users_->removeUser(id);
    updateCommands();
}

void AdminMainWindow::addProject()
{
    if (!databaseOpen_) return;
    ProjectEditSheet sheet(ProjectEditSheet::Mode::Wizard, this);
    if (!sheet.exec()) return;
    if (!ProjectDirectory(context_.get()).add(sheet.project(), sheet.versions()))
        EngineError::show(this);
}

void AdminMainWindow::editProjects()
{
    if (!databaseOpen_) return;
    ProjectListDialog dialog(context_.get(), this);
    if (dialog.fill()) dialog.exec();
}

void AdminMainWindow::showHelp()
{
    // The administrator's own start page; it links to the team's contents.
    HelpViewer::open(this, QStringLiteral("Admin.htm"));
}

void AdminMainWindow::showAbout()
{
    Messages::information(this,
                          tr("Nimbra Administrator %1\n\nManages the users of a Nimbra database, "
                             "their rights in each project, and the projects with their "
                             "versions.")
                              .arg(QStringLiteral(NIMBRA_VERSION)));
}

QString AdminMainWindow::passwordNote() const
{
    return passwordNote_->isHidden() ? QString() : passwordNote_->text();
}

// A new database lets anyone log in as administrator; say so, and offer the
// administrator's row for editing, until a password is set.
void AdminMainWindow::noteEmptyPassword(bool empty)
{
    passwordNote_->setVisible(empty);
    passwordNote_->setText(empty ? tr("No administrator password: edit \"Admin\" to set one.")
                                 : QString());
    passwordNote_->setToolTip(empty ? tr("Anyone can open this database as \"Admin\" until the "
                                         "administrator has a password.")
                                    : QString());
    if (empty) users_->selectUser(kAdministratorId);
}

void AdminMainWindow::closeEvent(QCloseEvent* event)
{
    WindowPlacement::of(*this).write(settings_);
    settings_.sync();
    event->accept();
}

}  // namespace nimbra
