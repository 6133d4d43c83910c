// The main window on real databases: placement and layout at first start,
// login and activation with their events and info-bar texts, the one-time
// note, the enabling rules, automatic login from "Bug.cfg", and help.
#include <QCheckBox>
#include <QDockWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <memory>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/clientoptions.h"
#include "client/commandrules.h"
#include "client/detailpane.h"
#include "client/generalform.h"
#include "client/infobar.h"
#include "client/logindialog.h"
#include "client/mainwindow.h"
#include "client/projectpane.h"
#include "client/selectprojectdialog.h"
#include "client/sysinfodialog.h"
#include "client/sysinfofields.h"
#include "clienttestcase.h"
#include "widgets/helpviewer.h"
#include "widgets/notereminder.h"
#include "widgets/programsettings.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::Command;
using nimbra::CommandRules;
using nimbra::CommandState;
using nimbra::MainWindow;
using nimbra::test::ModalDialogs;

namespace {

QTreeWidgetItem* FindNode(QTreeWidget* tree, const QString& project, const QString& version)
{
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        QTreeWidgetItem* node = *it;
        if (node->text(0) != version) continue;
        if (node->parent() != nullptr && node->parent()->text(0) == project) return node;
    }
    return nullptr;
}

}  // namespace

class MainWindowTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabase(&error), qPrintable(error));
        const int ann =
            database->addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann"));
        nimbra::test::ProjectGrant readOnly;
        readOnly.projectId = 2;
        readOnly.add = readOnly.remove = readOnly.edit = false;
        QVERIFY2(ann > 0 && database->grant(ann, {nimbra::test::ProjectGrant{}, readOnly}),
                 qPrintable(database->error()));
        nimbra::test::NewBug first;
        first.estimatedMinutes = 1500;
        first.description = QStringLiteral("Crash on save");
        QVERIFY(database->addBug(first) > 0);
        QVERIFY(database->addBug({}) > 0);
        messages = std::make_unique<nimbra::test::MessageRecorder>();
    }

    void cleanup()
    {
        releaseAll();
        QCOMPARE(ModalDialogs::missed(), 0);
    }

    void firstStartUsesTheDefaultPlacementAndLayout()
    {
        window = std::make_unique<MainWindow>();
        QVERIFY(window->isUsable());
        QCOMPARE(window->windowTitle(), QStringLiteral("Nimbra"));
        QCOMPARE(window->geometry(), QRect(100, 100, 400, 400));
        window->showPlaced();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->dockWidgetArea(window->projectPane()), Qt::LeftDockWidgetArea);
        QCOMPARE(window->dockWidgetArea(window->detailPane()), Qt::BottomDockWidgetArea);
        QCOMPARE(window->projectPane()->windowTitle(), QStringLiteral("My Projects"));
        QCOMPARE(window->detailPane()->windowTitle(), QStringLiteral("Detail Infomation"));
        QCOMPARE(window->shownToolBar()->objectName(), QStringLiteral("toolbarSmall"));
        QVERIFY(window->shownToolBar()->isVisible());
        QVERIFY(!window->findChild<QToolBar*>(QStringLiteral("toolbarLarge"))->isVisible());
        QVERIFY(window->action(Command::Open)->isEnabled());
        QVERIFY(!window->action(Command::Login)->isEnabled());
        QVERIFY(!window->action(Command::Refresh)->isEnabled());
        QCOMPARE(window->infoBar()->projectText(), QStringLiteral("Select Product"));
        QVERIFY(messages->texts().isEmpty());  // no "Bug.cfg" yet, and no message for it

        window->setGeometry(QRect(150, 120, 900, 700));
        window->close();
        window.reset();
        nimbra::ProgramSettings settings(QStringLiteral("Nimbra"));
        QCOMPARE(settings.readInt(QStringLiteral("wpLeft"), 0), 150);
        QCOMPARE(settings.readInt(QStringLiteral("wpBottom"), 0), 820);
        QVERIFY(settings.contains(QStringLiteral("BarState/State")));
    }

    void loginDialogThenProjectChoice()
    {
        openWindowOnDatabase();
        QVERIFY(window->action(Command::Login)->isEnabled());
        ModalDialogs::whenShown<nimbra::LoginDialog>([](nimbra::LoginDialog* dialog) {
            dialog->setLoginName(QStringLiteral("ann"));
            dialog->setPassword(QStringLiteral("pw"));
            dialog->accept();
        });
        ModalDialogs::whenShown<nimbra::SelectProjectDialog>(
            [](nimbra::SelectProjectDialog* dialog) {
                QTreeWidgetItem* node = FindNode(dialog->tree(), QStringLiteral("Project 1"),
                                                 QStringLiteral("Version 1.0"));
                QVERIFY(node != nullptr);
                dialog->tree()->setCurrentItem(node);
                dialog->accept();
            });
        window->login();
        QVERIFY(window->isLoggedIn());
        QCOMPARE(window->infoBar()->userText(), QStringLiteral("Ann"));
        QCOMPARE(window->infoBar()->projectText(), QStringLiteral("Project 1 (Version 1.0)"));
        QTreeWidgetItem* bold = window->projectPane()->boldNode();
        QVERIFY(bold != nullptr);
        QCOMPARE(bold->text(0), QStringLiteral("Version 1.0"));
        QCOMPARE(window->views()->bugs()->bugModel()->rowCount(), 2);
        QVERIFY(window->action(Command::Refresh)->isEnabled());
        QVERIFY(messages->texts().isEmpty());
    }

    void cancelledLoginWithNobodyLoggedInShowsNone()
    {
        openWindowOnDatabase();
        ModalDialogs::whenShown<nimbra::LoginDialog>([](nimbra::LoginDialog* d) { d->reject(); });
        window->login();
        QCOMPARE(window->infoBar()->userText(), QStringLiteral("None"));
        QCOMPARE(window->infoBar()->projectText(), QStringLiteral("Select Product"));
        QVERIFY(!window->isLoggedIn());
    }

    void wrongPasswordIsShownAndKeepsTheUserLoggedOut()
    {
        openWindowOnDatabase();
        QCOMPARE(window->context()->Login("ann", "nope"), lindor::E_FAIL);
        QVERIFY(!window->isLoggedIn());
        QVERIFY(!window->action(Command::Refresh)->isEnabled());
    }

    void allProjectsShowsTheNoteUntilTheUserDeclinesIt()
    {
        logInAsAnn();
        int notes = 0;
        auto answerNote = [&notes](bool tick) {
            ModalDialogs::whenShown<nimbra::NoteReminder>(
                [&notes, tick](nimbra::NoteReminder* note) {
                    ++notes;
                    note->findChild<QCheckBox*>()->setChecked(tick);
                    note->accept();
                });
        };
        answerNote(true);
        QCOMPARE(window->context()->SetActiveProject(0, 0), lindor::S_OK);
        QCOMPARE(notes, 1);
        QCOMPARE(window->infoBar()->projectText(), QStringLiteral("All (All)"));
        QCOMPARE(window->projectPane()->boldNode(), window->projectPane()->root());

        QCOMPARE(window->context()->SetActiveProject(1, 0), lindor::S_OK);
        QCOMPARE(window->infoBar()->projectText(), QStringLiteral("Project 1 (All)"));
        QCOMPARE(window->projectPane()->boldNode()->text(0), QStringLiteral("Project 1"));
        QCOMPARE(window->context()->SetActiveProject(0, 0),
                 lindor::S_OK);  // a note would block here
        QCOMPARE(notes, 1);
        nimbra::ProgramSettings settings(QStringLiteral("Nimbra"));
        QCOMPARE(settings.readInt(QString::number(MainWindow::kAllProjectsNoteId), 0), 1);
    }

    void projectPaneActivatesVersionsByDoubleClick()
    {
        logInAsAnn();
        QTreeWidget* tree = window->projectPane()->tree();
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("All Projects"));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 2);
        QTreeWidgetItem* project = tree->topLevelItem(0)->child(0);
        emit tree->itemDoubleClicked(project, 0);
        std::int32_t active = -1;
        window->context()->get_ActiveProjectID(&active);
        QCOMPARE(active, 0);
        emit tree->itemDoubleClicked(project->child(1), 0);
        window->context()->get_ActiveProjectID(&active);
        QCOMPARE(active, 1);
        QCOMPARE(window->infoBar()->projectText(), QStringLiteral("Project 1 (Version 2.0)"));
        QCOMPARE(window->projectPane()->boldNode(), project->child(1));
    }

    void deleteAndEditNeedExactlyOneRowAndTheRight()
    {
        logInAsAnn();
        QCOMPARE(window->context()->SetActiveProject(1, 0), lindor::S_OK);
        nimbra::BugListView* list = window->views()->bugs();
        list->selectAll();
        QCOMPARE(list->selectedCount(), 2);
        QVERIFY(!window->action(Command::Delete)->isEnabled());
        QVERIFY(!CommandRules(window->commandState()).edit());
        list->selectRow(0);
        QVERIFY(window->action(Command::Delete)->isEnabled());
        QVERIFY(CommandRules(window->commandState()).edit());
        QVERIFY(CommandRules(window->commandState()).reportBug());
        QCOMPARE(window->detailPane()->general()->fieldText(QStringLiteral("Estimate Time")),
                 QStringLiteral("1d 1h 0m"));
        QCOMPARE(window->detailPane()->general()->fieldText(QStringLiteral("Description")),
                 QStringLiteral("Crash on save"));

        QCOMPARE(window->context()->SetActiveProject(2, 0), lindor::S_OK);
        QCOMPARE(list->bugModel()->rowCount(), 0);
        QVERIFY(!CommandRules(window->commandState()).reportBug());
        QVERIFY(!window->action(Command::Delete)->isEnabled());

        CommandState state;
        state.hasProjectRight = state.rightAdd = true;
        QVERIFY(!CommandRules(state).reportBug());
        state.activeProjectId = 3;
        QVERIFY(CommandRules(state).reportBug());
        state.rightAdd = false;
        QVERIFY(!CommandRules(state).reportBug());
    }

    void userWithoutComputerDescriptionIsAskedForOne()
    {
        const int newbie = database->addUser(QStringLiteral("newbie"), QString(),
                                             QStringLiteral("New Person"), false);
        QVERIFY(newbie > 0 && database->grant(newbie, {nimbra::test::ProjectGrant{}}));
        openWindowOnDatabase();
        QString offeredMemory;
        ModalDialogs::whenShown<nimbra::SysInfoDialog>(
            [&offeredMemory](nimbra::SysInfoDialog* dialog) {
                offeredMemory = dialog->text(nimbra::kMemory);
                dialog->setText(nimbra::kCpu, QStringLiteral("Test CPU 9000"));
                dialog->accept();
            });
        QCOMPARE(window->context()->Login("newbie", ""), lindor::S_OK);
        QCOMPARE(messages->texts(),
                 QStringList{"Please enter your computer's software and hardware "
                             "information.\nClick OK to continue."});
        QVERIFY2(offeredMemory.endsWith(QLatin1Char('M')), "this machine's memory is offered");
        lindor::ComPtr<lindor::IUser> user;
        lindor::ComPtr<lindor::IUserSysInfo> info;
        window->context()->get_CurUser(user.put());
        QVERIFY(user && user->get_SysInfo(info.put()) == lindor::S_OK && info);
        std::string cpu;
        info->get_CPU(&cpu);
        QCOMPARE(cpu, std::string("Test CPU 9000"));
    }

    void optionsLogInAndActivateAtStart()
    {
        nimbra::ClientOptions options;
        options.setDefaultDatabase(true);
        options.setDatabasePath(database->path());
        options.setUseDefaultLogin(true);
        options.setLoginName(QStringLiteral("ann"));
        options.setPassword(QStringLiteral("pw"));
        options.setSavePassword(true);
        options.setDefaultProject(true);
        options.setProjectId(1);
        options.setVersionId(2);
        QString error;
        QVERIFY2(options.save(&error), qPrintable(error));
        window = std::make_unique<MainWindow>();
        QTRY_COMPARE(window->infoBar()->projectText(), QStringLiteral("Project 1 (Version 2.0)"));
        QCOMPARE(window->infoBar()->userText(), QStringLiteral("Ann"));
        QVERIFY(messages->texts().isEmpty());
    }

    void failuresAreShownWithTheirText()
    {
        window = std::make_unique<MainWindow>();
        const QString missing = environment->path(QStringLiteral("nowhere.mdb"));
        QVERIFY(!window->openDatabase(missing));
        QCOMPARE(messages->last(), QStringLiteral("Open database %1 failed").arg(missing));
        QVERIFY(!window->action(Command::Login)->isEnabled());
        QVERIFY(!nimbra::HelpViewer::open(window.get(), QStringLiteral("no-such-page.htm")));
        QCOMPARE(messages->last(), QStringLiteral("Help File NOT Found!"));
    }

private:
    void openWindowOnDatabase()
    {
        window = std::make_unique<MainWindow>();
        QVERIFY(window->openDatabase(database->path()));
    }

    void logInAsAnn()
    {
        openWindowOnDatabase();
        QCOMPARE(window->context()->Login("ann", "pw"), lindor::S_OK);
        QVERIFY(window->isLoggedIn());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
