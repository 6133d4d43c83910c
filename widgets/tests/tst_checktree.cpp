// The check-box tree: groups show and toggle their children.
#include <QSignalSpy>
#include <QTest>

#include "widgets/checktree.h"

using nimbra::CheckTree;

class CheckTreeTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        tree = std::make_unique<CheckTree>();
        group = tree->addGroup("Group");
        for (const char* text : {"one", "two", "three"}) tree->addItem(group, text);
        tree->expandAll();
        tree->show();
        QVERIFY(QTest::qWaitForWindowExposed(tree.get()));
    }
    void cleanup() { tree.reset(); }

    void clickOnAGroupChecksAllThenClearsAll()
    {
        QSignalSpy changed(tree.get(), &CheckTree::checksChanged);
        click(group);
        QCOMPARE(group->checkState(0), Qt::Checked);
        for (QTreeWidgetItem* child : CheckTree::children(group))
            QVERIFY(CheckTree::isChecked(child));
        click(group);
        for (QTreeWidgetItem* child : CheckTree::children(group))
            QVERIFY(!CheckTree::isChecked(child));
        QCOMPARE(changed.count(), 2);
    }

    void childrenDecideTheGroupsState()
    {
        QSignalSpy changed(tree.get(), &CheckTree::checksChanged);
        QTreeWidgetItem* two = group->child(1);
        two->setData(0, Qt::UserRole, 7);  // what a program keeps in an item is no click
        tree->setChecked(two, true);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(group->checkState(0), Qt::PartiallyChecked);
        QVERIFY(!CheckTree::isChecked(group));
        // A partly checked group is not checked: choosing it checks the rest.
        tree->setCurrentItem(group);
        QTest::keyClick(tree.get(), Qt::Key_Space);
        QCOMPARE(group->checkState(0), Qt::Checked);
        tree->setCurrentItem(two);
        QTest::keyClick(tree.get(), Qt::Key_Space);
        QVERIFY(!CheckTree::isChecked(two));
        QCOMPARE(group->checkState(0), Qt::PartiallyChecked);
        QCOMPARE(changed.count(), 2);
    }

private:
    void click(QTreeWidgetItem* item)
    {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
    }

    std::unique_ptr<CheckTree> tree;
    QTreeWidgetItem* group = nullptr;
};

QTEST_MAIN(CheckTreeTest)
#include "tst_checktree.moc"
