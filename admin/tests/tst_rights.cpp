// The page "Assign right" as the administrator uses it in the user wizard
// and sheet, checked against the roles the engine stores.
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidgetItem>

#include <memory>

#include "admin/copyuserdialog.h"
#include "admin/rightitems.h"
#include "admin/rightpage.h"
#include "admin/sheetdialog.h"
#include "admin/tests/adminfixture.h"
#include "roles/rightflags.h"
#include "roles/roletemplates.h"
#include "widgets/checktree.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"

using namespace nimbra;
using namespace nimbra::test;
using roles::RightFlag;
using roles::RightFlags;

namespace {

// The statuses of "Developer" as the tree stores them: in the order of the
// database's status names.
const QStringList kDeveloperStatuses = {"By Design",   "Cannot Reproduce", "Resolved",
                                        "In Process",  "Postponed",        "Waiting",
                                        "Will Not Fix"};

void Choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QTreeWidgetItem* Group(CheckTree* tree, const QString& label)
{
    for (QTreeWidgetItem* group : tree->groups()) {
        if (group->text(0) == label) return group;
    }
    return nullptr;
}

QStringList Checked(CheckTree* tree, const QString& groupLabel)
{
    QStringList texts;
    for (QTreeWidgetItem* item : CheckTree::children(Group(tree, groupLabel))) {
        if (CheckTree::isChecked(item)) texts << item->text(0);
    }
    return texts;
}

// Clicks a group as the administrator does, on its text.
void Click(CheckTree* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

}  // namespace

class RightsTest : public AdminTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        startWithTeamDatabase();
        QVERIFY(fixture->openAs(database->path()));
    }

    void developerTemplateChangesOnlyTheChosenProject()
    {
        fixture->addUser("dev", [](RightPage* page) {
            QCOMPARE(page->projectList()->currentText(), QString("Project 1"));
            Choose(page->templateList(), "Developer");
            QCOMPARE(page->templateList()->currentIndex(), -1);
            QCOMPARE(Checked(page->tree(), "General"), QStringList{"Read Bug"});
            Choose(page->projectList(), "Project 2");
            for (QTreeWidgetItem* group : page->tree()->groups())
                QCOMPARE(group->checkState(0), Qt::Unchecked);
            Choose(page->projectList(), "Project 1");
            QCOMPARE(Checked(page->tree(), "Edit Bug"),
                     (QStringList{"Edit Resolved in Version", "Edit Resolved Date",
                                  "Edit Resolution", "Edit Estimate Time"}));
            QCOMPARE(Checked(page->tree(), RightItems::statusGroupLabel()).size(), 7);
        });
        const auto context = AdminContext(database->path());
        const auto user = StoredUser(context.get(), "dev");
        QVERIFY(user);
        const auto first = StoredRight(user.get(), 1);
        QVERIFY(first);
        QVERIFY(RightFlags::get(first.get(), RightFlag::EditFixedInVersion));
        QVERIFY(RightFlags::get(first.get(), RightFlag::EditFixedDate));
        QVERIFY(!RightFlags::get(first.get(), RightFlag::Add));
        QCOMPARE(StatusNames(first.get()), kDeveloperStatuses);
        // Project 2 allowed nothing, so it has no rights row at all.
        QVERIFY(!StoredRight(user.get(), 2));
    }

    void editBugGroupTogglesItsEighteenItems()
    {
        fixture->addUser("ann", [](RightPage* page) {
            QTreeWidgetItem* editBug = Group(page->tree(), "Edit Bug");
            QCOMPARE(editBug->childCount(), 18);
            Click(page->tree(), editBug);
            QCOMPARE(Checked(page->tree(), "Edit Bug").size(), 18);
            QCOMPARE(editBug->checkState(0), Qt::Checked);
            QVERIFY(page->editor().flag(RightFlag::EditFixedInVersion));
            QVERIFY(page->editor().flag(RightFlag::EditDateDue));
            QVERIFY(!page->editor().flag(RightFlag::Read));
            Click(page->tree(), editBug);
            QVERIFY(Checked(page->tree(), "Edit Bug").isEmpty());
            QVERIFY(!page->editor().flag(RightFlag::EditType));
            // One item alone: the group shows it is partly checked.
            QTreeWidgetItem* resolvedDate = CheckTree::children(editBug).at(9);
            QCOMPARE(resolvedDate->text(0), QString("Edit Resolved Date"));
            page->tree()->toggle(resolvedDate);
            QCOMPARE(editBug->checkState(0), Qt::PartiallyChecked);
            QVERIFY(page->editor().flag(RightFlag::EditFixedDate));
            QVERIFY(!page->editor().flag(RightFlag::EditFixedInVersion));
        });
        const auto user = StoredUser(AdminContext(database->path()).get(), "ann");
        const auto right = StoredRight(user.get(), 1);
        QVERIFY(right);
        QVERIFY(RightFlags::get(right.get(), RightFlag::EditFixedDate));
        QCOMPARE(EngineNumber(right.get(), &lindor::IRight::get_EditBug), 1);
    }

    void templateAllOnEveryProjectLeavesAddProjectClear()
    {
        fixture->addUser("boss", [](RightPage* page) {
            for (const char* project : {"Project 1", "Project 2"}) {
                Choose(page->projectList(), project);
                Choose(page->templateList(), "All");
            }
        });
        const auto user = StoredUser(AdminContext(database->path()).get(), "boss");
        lindor::ComPtr<lindor::IUserRight> role;
        QCOMPARE(user->get_Right(role.put()), lindor::S_OK);
        QCOMPARE(EngineNumber(role.get(), &lindor::IUserRight::get_AddProject), 0);
        for (int project : {1, 2}) {
            const auto right = StoredRight(user.get(), project);
            QVERIFY(right);
            for (RightFlag flag : RightFlags::all()) QVERIFY(RightFlags::get(right.get(), flag));
            QCOMPARE(StatusNames(right.get()).size(), 10);
        }
    }

    void copyFromUserTakesHisRoleInEveryProject()
    {
        const int ann = database->addUser("ann", "pw", "Ann");
        ProjectGrant second;
        second.projectId = 2;
        second.statuses = {"Waiting"};
        QVERIFY(database->grant(ann, {ProjectGrant{}, second}));
        fixture->addUser("amy", [](RightPage* page) {
            ModalDialogs::whenShown<CopyUserDialog>([](CopyUserDialog* dialog) {
                QVERIFY(dialog->choose("Ann"));
                dialog->accept();
            });
            page->copyButton()->click();
            QCOMPARE(page->projectList()->currentText(), QString("Project 1"));
            QVERIFY(CheckTree::isChecked(Group(page->tree(), "Edit Bug")));
        });
        const auto context = AdminContext(database->path());
        const auto amy = StoredUser(context.get(), "amy");
        const auto original = StoredUser(context.get(), "ann");
        for (int project : {1, 2}) {
            const auto copied = StoredRight(amy.get(), project);
            QVERIFY(copied);
            for (RightFlag flag : RightFlags::all())
                QCOMPARE(RightFlags::get(copied.get(), flag),
                         RightFlags::get(StoredRight(original.get(), project).get(), flag));
        }
        QCOMPARE(StatusNames(StoredRight(amy.get(), 2).get()), QStringList{"Waiting"});
    }

    // A user who worked in both projects loses project 2 once every box of
    // it is cleared: no rights row, so he no longer sees it.
    void clearedProjectLosesItsRightsRow()
    {
        const int id = database->addUser("carl", "pw", "Carl");
        ProjectGrant first;
        first.edit = false;
        ProjectGrant second = first;
        second.projectId = 2;
        QVERIFY(database->grant(id, {first, second}));
        QVERIFY(fixture->openAs(database->path()));
        QVERIFY(fixture->selectLogin("carl"));
        ModalDialogs::whenShown<SheetDialog>([](SheetDialog* sheet) {
            auto* page = sheet->findChild<RightPage*>();
            sheet->tabs()->setCurrentWidget(page);
            Choose(page->projectList(), "Project 2");
            for (QTreeWidgetItem* group : page->tree()->groups()) {
                while (group->checkState(0) != Qt::Unchecked) page->tree()->toggle(group);
            }
            sheet->accept();
        });
        fixture->window->editUser();
        const auto user = StoredUser(AdminContext(database->path()).get(), "carl");
        QVERIFY(StoredRight(user.get(), 1));
        QVERIFY(!StoredRight(user.get(), 2));
        lindor::ComPtr<lindor::IProjectSet> projects;
        QCOMPARE(user->get_ProjectSet(projects.put()), lindor::S_OK);
        QCOMPARE(EngineNumber(projects.get(), &lindor::IProjectSet::get_Count), 1);
        QCOMPARE(fixture->messages.last(),
                 QString("The user's property changed. Do you want to synchronize the database so "
                         "that consistancy is maintained ?"));
    }
};

QTEST_MAIN(RightsTest)
#include "tst_rights.moc"
