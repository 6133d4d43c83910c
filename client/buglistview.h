// One report-style list of bugs or features over an engine bug set: header
// sorting with its triangle, refresh, delete of the selected rows, and
// notifications when the current row changes or a row is double-clicked.
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QTableView>

namespace nimbra {

class BugListModel;

class BugListView : public QTableView {
    Q_OBJECT
public:
    enum SortDirection { NoSort = 0, Ascending = 1, Descending = 2 };

    explicit BugListView(lindor::eBugType type, QWidget* parent = nullptr);

    lindor::eBugType type() const { return type_; }
    BugListModel* bugModel() const { return model_; }

    // Each shows an engine failure in a message box and keeps the rows.
    void setBugSet(lindor::ComPtr<lindor::IBugSet> bugs);
    void refresh();
    void clickHeader(int column);
    // The bug set's filter, null when none; a null filter shows every row.
    lindor::ComPtr<lindor::IBugFilterSet> filterSet() const;
    void setFilterSet(lindor::IBugFilterSet* filter);
    // Asks, then removes the selected rows (several: from the last to the first).
    void deleteSelected();
    // Update through the set; a refused update (e.g. the bug was changed by
    // another program meanwhile) is shown and the rows are read again.
    bool updateBug(lindor::IBug* bug);

    lindor::ComPtr<lindor::IBug> currentBug() const;
    int currentBugId() const;
    int selectedCount() const;
    bool hasBugSet() const;

    // Tells who shows the current bug that it may have changed.
    void notifyCurrent();

    int sortColumn() const { return sortColumn_; }
    SortDirection sortDirection() const { return sortDirection_; }

signals:
    // The bug of the first selected row, 0 when no row is selected.
    void currentBugChanged(int bugId);
    void bugActivated(int bugId);
    void menuRequested(const QPoint& globalPosition);

private:
    QList<int> selectedRowsAscending() const;
    void recountAndNotify();
    void showSortIndicator();
    // Shows the triangle and, for a column that sorts, orders the set by it.
    void applySort();

    lindor::eBugType type_;
    BugListModel* model_ = nullptr;
    int sortColumn_ = -1;
    SortDirection sortDirection_ = NoSort;
};

}  // namespace nimbra
