// The project pane's sheets and the assignment of users to classifications,
// on a database with three members: Ann works in both projects and may
// maintain and assign their classifications, Bob works in the first one
// only, Carl has no role.
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "client/assignclassdialog.h"
#include "client/classificationsheet.h"
#include "client/enternamedialog.h"
#include "client/mainwindow.h"
#include "client/projectdialogs.h"
#include "client/projectpane.h"
#include "client/projectsheet.h"
#include "clienttestcase.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::AssignClassDialog;
using nimbra::ClassificationSheet;
using nimbra::test::ModalDialogs;

namespace {

QStringList TextsOf(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions) texts << action->text();
    return texts;
}

QStringList EntriesOf(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

QTreeWidgetItem* FindChild(const QTreeWidgetItem* group, const QString& text)
{
    for (int i = 0; i < group->childCount(); ++i)
        if (group->child(i)->text(0) == text) return group->child(i);
    return nullptr;
}

void Answer(const QString& name)
{
    ModalDialogs::whenShown<nimbra::EnterNameDialog>([name](nimbra::EnterNameDialog* dialog) {
        dialog->setName(name);
        dialog->accept();
    });
}

}  // namespace

class ProjectDialogsTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabase(&error), qPrintable(error));
        nimbra::test::ProjectGrant first;
        first.classes = true;
        nimbra::test::ProjectGrant second = first;
        second.projectId = 2;
        ann = database->addUser(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("Ann"));
        bob = database->addUser(QStringLiteral("bob"), QStringLiteral("pw"), QStringLiteral("Bob"));
        carl =
            database->addUser(QStringLiteral("carl"), QStringLiteral("pw"), QStringLiteral("Carl"));
        QVERIFY2(ann > 0 && bob > 0 && carl > 0 && database->grant(ann, {first, second}) &&
                     database->grant(bob, {nimbra::test::ProjectGrant{}}),
                 qPrintable(database->error()));
        userInterface = database->addClassification(1, QStringLiteral("User Interface"));
        storage = database->addClassification(1, QStringLiteral("Database"));
        reports = database->addClassification(2, QStringLiteral("Reports"));
        QVERIFY2(userInterface > 0 && storage > 0 && reports > 0, qPrintable(database->error()));
        messages = std::make_unique<nimbra::test::MessageRecorder>();
        window = std::make_unique<nimbra::MainWindow>();
        QVERIFY(window->openDatabase(database->path()));
    }

    void cleanup()
    {
        releaseAll();
        QCOMPARE(ModalDialogs::missed(), 0);
    }

    void projectNodesOfferTheSheetsAndThePropertySheetOnlyShows()
    {
        logIn("ann");
        nimbra::ProjectPane* pane = window->projectPane();
        QMenu rootMenu;
        pane->fillMenu(&rootMenu, pane->root());
        QCOMPARE(TextsOf(rootMenu.actions()), QStringList{"Set Active"});
        QTreeWidgetItem* project = pane->root()->child(0);
        QMenu versionMenu;
        pane->fillMenu(&versionMenu, project->child(0));
        QCOMPARE(TextsOf(versionMenu.actions()), QStringList{"Set Active"});
        QMenu menu;
        pane->fillMenu(&menu, project);
        QCOMPARE(TextsOf(menu.actions()),
                 (QStringList{"Set Active", "Edit Classification...", "Project Property..."}));

        bool shown = false;
        ModalDialogs::whenShown<nimbra::ProjectSheet>([&shown](nimbra::ProjectSheet* sheet) {
            shown = true;
            QCOMPARE(sheet->windowTitle(), QStringLiteral("Project Propery"));
            QCOMPARE(sheet->pages()->tabText(0), QStringLiteral("Project"));
            QCOMPARE(sheet->pages()->tabText(1), QStringLiteral("Version"));
            QCOMPARE(sheet->nameEdit()->text(), QStringLiteral("Project 1"));
            QVERIFY(!sheet->nameEdit()->isEnabled());
            QVERIFY(!sheet->descriptionEdit()->isEnabled());
            QCOMPARE(sheet->versions()->topLevelItemCount(), 2);
            QCOMPARE(sheet->versions()->topLevelItem(1)->text(0), QStringLiteral("Version 2.0"));
            QCOMPARE(sheet->versions()->headerItem()->text(1), QStringLiteral("Date"));
            for (const QPushButton* button : sheet->findChildren<QPushButton*>())
                QVERIFY2(!button->text().contains(QLatin1String("Add")) &&
                             !button->text().contains(QLatin1String("Delete")),
                         qPrintable(button->text()));
            sheet->accept();
        });
        menu.actions().at(2)->trigger();
        QVERIFY(shown);

        ModalDialogs::whenShown<ClassificationSheet>([](ClassificationSheet* sheet) {
            QCOMPARE(sheet->windowTitle(), QStringLiteral("Edit Classification"));
            QCOMPARE(EntriesOf(sheet->list()), (QStringList{"User Interface", "Database"}));
            sheet->reject();
        });
        menu.actions().at(1)->trigger();
        QVERIFY(messages->texts().isEmpty());
    }

    void classificationsAreAddedRenamedAndDeletedAtOnce()
    {
        logIn("ann");
        std::unique_ptr<ClassificationSheet> sheet = openClassifications(1);
        sheet->show();
        Answer(QStringLiteral("Printing"));
        sheet->addClassification();
        QCOMPARE(storedNames(1), (QStringList{"User Interface", "Database", "Printing"}));

        sheet->list()->setCurrentRow(1);
        Answer(QStringLiteral("Storage"));
        sheet->renameSelected();
        QCOMPARE(EntriesOf(sheet->list()), (QStringList{"User Interface", "Storage", "Printing"}));
        QCOMPARE(storedNames(1), (QStringList{"User Interface", "Storage", "Printing"}));

        // Deleting every entry: OK then refuses to close.
        for (int left = 3; left > 0; --left) {
            sheet->list()->setCurrentRow(0);
            sheet->deleteSelected();
        }
        QCOMPARE(messages->texts().count(QStringLiteral("Do you really want to delete it?")), 3);
        QCOMPARE(storedNames(1), QStringList());
        sheet->accept();
        QCOMPARE(messages->last(),
                 QStringLiteral("Project must have at least one classification!"));
        QVERIFY(sheet->isVisible());
    }

    void aRefusedChangeIsShownAndTheListStays()
    {
        logIn("bob");
        std::unique_ptr<ClassificationSheet> sheet = openClassifications(1);
        Answer(QStringLiteral("Printing"));
        sheet->addClassification();
        QCOMPARE(messages->last(), QStringLiteral("You have no right to add classification, please "
                                                  "contact your manager!"));
        sheet->list()->setCurrentRow(0);
        Answer(QStringLiteral("Renamed"));
        sheet->renameSelected();
        QCOMPARE(EntriesOf(sheet->list()), (QStringList{"User Interface", "Database"}));
        QCOMPARE(storedNames(1), (QStringList{"User Interface", "Database"}));
        // What the sheet's set holds is still what the database holds.
        sheet = openClassifications(1);
        QCOMPARE(EntriesOf(sheet->list()), (QStringList{"User Interface", "Database"}));
    }

    void onlyAUserWhoMayAssignOpensTheDialog()
    {
        // The command is always offered; before a login nobody has the right.
        window->action(nimbra::Command::AssignUser)->trigger();
        QCOMPARE(messages->last(),
                 QStringLiteral("You have no right to assign classification to user!"));
        messages->clear();
        logIn("bob");
        QVERIFY(!AssignClassDialog::mayOpen(window->context(), window.get()));
        QCOMPARE(messages->last(),
                 QStringLiteral("You have no right to assign classification to user!"));
        messages->clear();
        logIn("ann");
        bool opened = false;
        ModalDialogs::whenShown<AssignClassDialog>([&opened](AssignClassDialog* dialog) {
            opened = true;
            dialog->reject();
        });
        window->action(nimbra::Command::AssignUser)->trigger();
        QVERIFY(opened);
        QVERIFY(messages->texts().isEmpty());
    }

    void assignmentsOfSeveralProjectsStaySideBySide()
    {
        logIn("ann");
        AssignClassDialog dialog(window->context());
        QCOMPARE(EntriesOf(dialog.users()), (QStringList{"Admin", "Ann", "Bob", "Carl"}));
        QCOMPARE(dialog.users()->currentRow(), 0);

        selectUser(dialog, "Ann");
        QTreeWidget* tree = dialog.projects();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Project 1"));
        QVERIFY(tree->topLevelItem(0)->isExpanded());
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Database"));
        check(dialog, "Project 1", "User Interface", true);
        check(dialog, "Project 2", "Reports", true);
        dialog.assign();
        QCOMPARE(assigned(ann, 1), QList<int>{userInterface});
        QCOMPARE(assigned(ann, 2), QList<int>{reports});

        // Bob shares only the first project with Ann.
        selectUser(dialog, "Bob");
        QCOMPARE(tree->topLevelItemCount(), 1);
        check(dialog, "Project 1", "Database", true);
        dialog.assign();
        QCOMPARE(assigned(bob, 1), QList<int>{storage});
        QCOMPARE(assigned(ann, 1), QList<int>{userInterface});

        selectUser(dialog, "Ann");
        QCOMPARE(FindChild(tree->topLevelItem(1), "Reports")->checkState(0), Qt::Checked);
        check(dialog, "Project 2", "Reports", false);
        dialog.assign();
        QCOMPARE(assigned(ann, 2), QList<int>());
        QCOMPARE(assigned(ann, 1), QList<int>{userInterface});

        selectUser(dialog, "Carl");  // no project in common
        QCOMPARE(tree->topLevelItemCount(), 0);
        QVERIFY(messages->texts().isEmpty());
    }

private:
    void logIn(const char* login) { QCOMPARE(window->context()->Login(login, "pw"), lindor::S_OK); }

    std::unique_ptr<ClassificationSheet> openClassifications(int projectId)
    {
        const lindor::ComPtr<lindor::IProject> project =
            nimbra::ProjectDialogs::find(window->context(), projectId, window.get());
        lindor::ComPtr<lindor::IClassificationSet> set;
        if (!project || project->get_ClassificationSet(set.put()) != lindor::S_OK ||
            set->put_ExeContext(window->context()) != lindor::S_OK)
            return nullptr;
        return std::make_unique<ClassificationSheet>(set);
    }

    QStringList storedNames(int projectId)
    {
        const lindor::ComPtr<lindor::IProject> project =
            nimbra::ProjectDialogs::find(window->context(), projectId, window.get());
        lindor::ComPtr<lindor::IClassificationSet> set;
        std::int32_t count = 0;
        if (!project || project->get_ClassificationSet(set.put()) != lindor::S_OK) return {"?"};
        set->get_Count(&count);
        QStringList names;
        for (std::int32_t i = 0; i < count; ++i) {
            lindor::ComPtr<lindor::IClassification> item;
            std::string name;
            set->get_Item(i, item.put());
            item->get_Name(&name);
            names << QString::fromStdString(name);
        }
        return names;
    }

    QList<int> assigned(int userId, int projectId)
    {
        lindor::ComPtr<lindor::IClassificationSet> set;
        std::int32_t count = 0;
        if (window->context()->GetUserClassification(userId, projectId, set.put()) != lindor::S_OK)
            return {-1};
        set->get_Count(&count);
        QList<int> ids;
        for (std::int32_t i = 0; i < count; ++i) {
            lindor::ComPtr<lindor::IClassification> item;
            std::int32_t id = 0;
            set->get_Item(i, item.put());
            item->get_ID(&id);
            ids << id;
        }
        return ids;
    }

    static void selectUser(AssignClassDialog& dialog, const QString& name)
    {
        const QList<QListWidgetItem*> found = dialog.users()->findItems(name, Qt::MatchExactly);
        QVERIFY(found.size() == 1);
        dialog.users()->setCurrentItem(found.first());
    }

    static void check(AssignClassDialog& dialog, const QString& project, const QString& name,
                      bool checked)
    {
        const QList<QTreeWidgetItem*> groups =
            dialog.projects()->findItems(project, Qt::MatchExactly);
        QVERIFY(groups.size() == 1);
        QTreeWidgetItem* item = FindChild(groups.first(), name);
        QVERIFY(item != nullptr);
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }

    int ann = 0;
    int bob = 0;
    int carl = 0;
    int userInterface = 0;
    int storage = 0;
    int reports = 0;
};

QTEST_MAIN(ProjectDialogsTest)
#include "tst_projectdialogs.moc"
