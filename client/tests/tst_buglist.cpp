// The bug list over a real database: cell texts and status icons, header
// sorting with its triangle, deleting several rows, and notifications.
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtexts.h"
#include "clienttestcase.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::BugListModel;
using nimbra::BugListView;
using nimbra::test::NewBug;

namespace {

constexpr int kIdColumn = 1;
constexpr int kReportedDateColumn = 11;
constexpr int kDateDueColumn = 17;
constexpr int kEstimateColumn = 18;

}  // namespace

class BugListTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabase(&error), qPrintable(error));
    }
    void cleanup()
    {
        view.reset();
        context.reset();
        releaseAll();
    }

    void cellsShowDatesDurationsAndStatusIcons()
    {
        NewBug resolved;
        resolved.status = QStringLiteral("Resolved");
        resolved.estimatedMinutes = 1500;
        NewBug odd;
        odd.status = QStringLiteral("New");
        odd.estimatedMinutes = 59;
        odd.reportedDate = 38007.5;  // 21 January 2004, noon
        addBugs({resolved, odd});
        openList();
        BugListModel* model = view->bugModel();
        model->setDateFormat(QStringLiteral("%d,%m,%Y"));
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(cell(0, kEstimateColumn), QStringLiteral("1d 1h 0m"));
        QCOMPARE(cell(1, kEstimateColumn), QStringLiteral("0d 0h 59m"));
        QCOMPARE(cell(0, kReportedDateColumn), QString());
        QCOMPARE(cell(1, kReportedDateColumn), QStringLiteral("21,01,2004"));
        QCOMPARE(model->index(0, 0).data(BugListModel::StatusIconRole).toInt(), 3);
        QCOMPARE(model->index(1, 0).data(BugListModel::StatusIconRole).toInt(), 5);
        QVERIFY(!model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(model->headerData(kEstimateColumn, Qt::Horizontal).toString(),
                 QStringLiteral("Estimate Time"));

        const QStringList statuses = {"Active",       "By Design", "Cannot Reproduce", "Resolved",
                                      "In Process",   "New",       "Postponed",        "Verified",
                                      "Will Not Fix", "Waiting"};
        for (int i = 0; i < statuses.size(); ++i)
            QCOMPARE(nimbra::BugTexts::statusIconIndex(statuses[i]), i);
        QCOMPARE(nimbra::BugTexts::statusIconIndex(QStringLiteral("resolved")), 0);
        QCOMPARE(nimbra::BugTexts::dateText(38007.5, QStringLiteral("%#d/%#m/%y %H:%M")),
                 QStringLiteral("21/1/04 12:00"));
    }

    void headerClicksSortAndMoveTheTriangle()
    {
        addBugs({NewBug{}, NewBug{}, NewBug{}});
        openList();
        QHeaderView* header = view->horizontalHeader();
        QVERIFY(!header->isSortIndicatorShown());
        const QList<int> ascending = ids();
        QCOMPARE(ascending.size(), 3);

        clickSection(kIdColumn);
        QCOMPARE(view->sortDirection(), BugListView::Ascending);
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), kIdColumn);
        QCOMPARE(ids(), ascending);
        clickSection(kIdColumn);
        QCOMPARE(view->sortDirection(), BugListView::Descending);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(ids(), QList<int>({ascending[2], ascending[1], ascending[0]}));
        clickSection(kIdColumn);
        QCOMPARE(view->sortDirection(), BugListView::Ascending);
        QCOMPARE(ids(), ascending);

        clickSection(kIdColumn);  // descending again, then a column that cannot sort
        clickSection(kDateDueColumn);
        QCOMPARE(header->sortIndicatorSection(), kDateDueColumn);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(ids(), QList<int>({ascending[2], ascending[1], ascending[0]}));
        clickSection(0);
        QCOMPARE(view->sortColumn(), kDateDueColumn);
        QCOMPARE(header->sortIndicatorSection(), kDateDueColumn);
    }

    void deletingSeveralRowsKeepsTheOthers()
    {
        addBugs({NewBug{}, NewBug{}, NewBug{}, NewBug{}, NewBug{}});
        openList();
        const QList<int> before = ids();
        nimbra::test::MessageRecorder recorder(QMessageBox::No);
        selectRows({1, 2, 4});
        view->deleteSelected();
        QCOMPARE(recorder.texts(), QStringList{"Do you really want to delete these records?"});
        QCOMPARE(ids(), before);

        recorder.answerNext(QMessageBox::Yes);
        QSignalSpy notified(view.get(), &BugListView::currentBugChanged);
        view->deleteSelected();
        QCOMPARE(ids(), QList<int>({before[0], before[3]}));
        QCOMPARE(view->selectedCount(), 0);
        QVERIFY(!notified.isEmpty());
        QCOMPARE(notified.last().first().toInt(), 0);
        QCOMPARE(recorder.texts().size(), 2);
    }

    void aRefusedUpdateIsShownAndTheRowsAreReadAgain()
    {
        addBugs({NewBug{}, NewBug{}});
        openList();
        const lindor::ComPtr<lindor::IBug> first = view->bugModel()->bugAt(0);
        std::int32_t id = 0;
        first->get_ID(&id);
        // Another program deletes the bug while this list still shows it.
        lindor::ComPtr<lindor::IExeContext> other;
        lindor::ComPtr<lindor::IBugSet> otherBugs;
        lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", other.put());
        QCOMPARE(other->OpenAccessDB(database->path().toStdString()), lindor::S_OK);
        QCOMPARE(other->Login("Admin", ""), lindor::S_OK);
        QCOMPARE(other->SetActiveProject(1, 0), lindor::S_OK);
        QCOMPARE(other->OpenBugSet(lindor::eBug, nullptr, otherBugs.put()), lindor::S_OK);
        QCOMPARE(otherBugs->RemoveByID(id), lindor::S_OK);

        nimbra::test::MessageRecorder recorder;
        first->put_Description("changed here");
        QVERIFY(!view->updateBug(first.get()));
        QCOMPARE(recorder.texts().size(), 1);
        QVERIFY(!recorder.last().isEmpty());
        QCOMPARE(view->bugModel()->rowCount(), 1);
    }

    void anEmptySetNamesNoCurrentBug()
    {
        openList();
        QSignalSpy notified(view.get(), &BugListView::currentBugChanged);
        view->refresh();
        QCOMPARE(view->bugModel()->rowCount(), 0);
        QVERIFY(!view->currentBug());
        for (const QList<QVariant>& call : notified) QCOMPARE(call.first().toInt(), 0);
    }

    void rowsAreReadAPageAtATime()
    {
        constexpr int kPage = 4;
        QList<NewBug> bugs;
        for (int i = 0; i < 3 * kPage; ++i) bugs.append(NewBug{});
        addBugs(bugs);
        openList();
        BugListModel model(nullptr, kPage);
        QVERIFY(model.setBugSet(lindor::ComPtr<lindor::IBugSet>(view->bugModel()->bugSet())));
        QCOMPARE(model.pagesRead(), 0);
        const QList<int> expected = ids();
        QCOMPARE(model.bugIdAt(3 * kPage - 1), expected.last());
        QCOMPARE(model.pagesRead(), 1);
        QCOMPARE(model.bugIdAt(2 * kPage), expected[2 * kPage]);
        QCOMPARE(model.pagesRead(), 1);
        for (int row = 0; row < 3 * kPage; ++row) QCOMPARE(model.bugIdAt(row), expected[row]);
        QCOMPARE(model.pagesRead(), 3);
    }

private:
    void addBugs(const QList<NewBug>& bugs)
    {
        for (const NewBug& wanted : bugs)
            QVERIFY2(database->addBug(wanted) > 0, qPrintable(database->error()));
    }

    void openList()
    {
        QCOMPARE(lindor::CreateObject<lindor::IExeContext>("Lindor.ExeContext.1", context.put()),
                 lindor::S_OK);
        QCOMPARE(context->OpenAccessDB(database->path().toStdString()), lindor::S_OK);
        QCOMPARE(context->Login("Admin", ""), lindor::S_OK);
        QCOMPARE(context->SetActiveProject(1, 0), lindor::S_OK);
        lindor::ComPtr<lindor::IBugSet> bugs;
        QCOMPARE(context->OpenBugSet(lindor::eBug, nullptr, bugs.put()), lindor::S_OK);
        view = std::make_unique<BugListView>(lindor::eBug);
        view->resize(900, 300);
        view->setBugSet(bugs);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }

    QString cell(int row, int column) const
    {
        return view->bugModel()->index(row, column).data().toString();
    }

    QList<int> ids() const
    {
        QList<int> out;
        for (int row = 0; row < view->bugModel()->rowCount(); ++row)
            out.append(view->bugModel()->bugIdAt(row));
        return out;
    }

    void clickSection(int column)
    {
        QHeaderView* header = view->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void selectRows(const QList<int>& rows)
    {
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->bugModel()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    lindor::ComPtr<lindor::IExeContext> context;
    std::unique_ptr<BugListView> view;
};

QTEST_MAIN(BugListTest)
#include "tst_buglist.moc"
