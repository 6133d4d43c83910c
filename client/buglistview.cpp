#include "client/buglistview.h"

#include <QHeaderView>

#include <algorithm>

#include "client/buglistmodel.h"
#include "widgets/engineerror.h"
#include "widgets/messages.h"

namespace nimbra {

BugListView::BugListView(lindor::eBugType type, QWidget* parent)
    : QTableView(parent), type_(type), model_(new BugListModel(this))
{
    setObjectName(type == lindor::eFeature ? QStringLiteral("featureList")
                                           : QStringLiteral("bugList"));
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    for (int column = 0; column < BugListModel::kColumnCount; ++column)
        setColumnWidth(column, BugListModel::columnWidth(column));

    connect(header, &QHeaderView::sectionClicked, this, &BugListView::clickHeader);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BugListView::notifyCurrent);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        const int id = currentBugId();
        if (id != 0) emit bugActivated(id);
    });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit menuRequested(viewport()->mapToGlobal(at)); });
}

bool BugListView::hasBugSet() const
{
    return model_->bugSet() != nullptr;
}

void BugListView::setBugSet(lindor::ComPtr<lindor::IBugSet> bugs)
{
    const bool counted = model_->setBugSet(std::move(bugs));
    if (!counted) EngineError::show(this);
    if (sortDirection_ != NoSort) applySort();
    // A freshly opened list starts on its first row, so the details show it.
    if (model_->rowCount() > 0) {
        selectRow(0);
        return;  // the selection change has notified
    }
    notifyCurrent();
}

void BugListView::refresh()
{
    if (!model_->refresh()) EngineError::show(this);
    notifyCurrent();
}

lindor::ComPtr<lindor::IBugFilterSet> BugListView::filterSet() const
{
    return model_->filterSet();
}

void BugListView::setFilterSet(lindor::IBugFilterSet* filter)
{
    if (!model_->setFilterSet(filter)) EngineError::show(this);
    notifyCurrent();
}

void BugListView::recountAndNotify()
{
    if (!model_->recount()) EngineError::show(this);
    notifyCurrent();
}

void BugListView::showSortIndicator()
{
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(sortDirection_ != NoSort);
    header->setSortIndicator(
        sortColumn_, sortDirection_ == Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void BugListView::clickHeader(int column)
{
    // The header may already have moved its triangle; it shows our state.
    if (column <= 0) {
        showSortIndicator();
        return;
    }
    if (column == sortColumn_ && sortDirection_ == Ascending) {
        sortDirection_ = Descending;
    } else {
        sortColumn_ = column;
        sortDirection_ = Ascending;
    }
    applySort();
    notifyCurrent();
}

void BugListView::applySort()
{
    showSortIndicator();
    lindor::eBugField field;
    if (!hasBugSet() || !BugListModel::sortFieldOf(sortColumn_, &field)) return;
    const lindor::eOrder order = sortDirection_ == Ascending ? lindor::eAsc : lindor::eDesc;
    if (!model_->sortBy(field, order)) EngineError::show(this);
}

QList<int> BugListView::selectedRowsAscending() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int BugListView::selectedCount() const
{
    return static_cast<int>(selectionModel()->selectedRows().size());
}

lindor::ComPtr<lindor::IBug> BugListView::currentBug() const
{
    const QList<int> rows = selectedRowsAscending();
    return rows.isEmpty() ? nullptr : model_->bugAt(rows.first());
}

int BugListView::currentBugId() const
{
    const QList<int> rows = selectedRowsAscending();
    return rows.isEmpty() ? 0 : model_->bugIdAt(rows.first());
}

void BugListView::notifyCurrent()
{
    emit currentBugChanged(currentBugId());
}

void BugListView::deleteSelected()
{
    const QList<int> rows = selectedRowsAscending();
    if (rows.isEmpty()) return;
    if (!Messages::askYesNo(this, QStringLiteral("Do you really want to delete these records?")))
        return;
    bool removed = true;
    if (rows.size() == 1) {
        removed = model_->removeById(currentBugId());
    } else {
        // From the last row to the first, so the rows still to go keep their index.
        setUpdatesEnabled(false);
        for (auto row = rows.crbegin(); removed && row != rows.crend(); ++row)
            removed = model_->removeById(model_->bugIdAt(*row));
        setUpdatesEnabled(true);
    }
    clearSelection();
    if (!removed) {
        const QString why = EngineError::text();
        model_->refresh();
        Messages::error(this, why);
        notifyCurrent();
        return;
    }
    recountAndNotify();
}

bool BugListView::updateBug(lindor::IBug* bug)
{
    if (model_->update(bug)) {
        notifyCurrent();
        return true;
    }
    const QString why = EngineError::text();
    model_->refresh();
    Messages::error(this, why);
    notifyCurrent();
    return false;
}

}  // namespace nimbra
