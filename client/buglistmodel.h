// The rows of one engine bug set as a table of 19 columns. Rows are read on
// demand (Position, then CurItem) a page at a time; only a few pages are
// kept, so the memory used does not depend on the rows scrolled past.
#pragma once

#include <lindor/lindor.h>

#include <QAbstractTableModel>

#include <deque>
#include <vector>

namespace nimbra {

class BugListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { StatusIconRole = Qt::UserRole, BugIdRole };
    static constexpr int kColumnCount = 19;
    static constexpr int kDefaultPageSize = 64;
    static constexpr int kPagesKept = 4;

    explicit BugListModel(QObject* parent = nullptr, int pageSize = kDefaultPageSize);

    // The set shown (none empties the list); the rows start afresh. False
    // when the set cannot be counted: the list is then empty.
    bool setBugSet(lindor::ComPtr<lindor::IBugSet> bugs);
    lindor::IBugSet* bugSet() const { return bugs_.get(); }

    // Sets the row count to the set's Count, keeping rows (and the view's
    // selection) by index, and redraws. False leaves the rows as they were.
    bool recount();
    // The engine's Refresh, then recount.
    bool refresh();
    bool sortBy(lindor::eBugField field, lindor::eOrder order);
    // The set's filter, null when there is none (or no set).
    lindor::ComPtr<lindor::IBugFilterSet> filterSet() const;
    // Puts the filter on the set (null shows every row again), then recounts.
    bool setFilterSet(lindor::IBugFilterSet* filter);
    bool removeById(int bugId);
    // Update on the set, then recount.
    bool update(lindor::IBug* bug);
    // Add on the set, which gives the stored bug back, then recount.
    bool add(lindor::IBug* bug, lindor::ComPtr<lindor::IBug>* stored);

    lindor::ComPtr<lindor::IBug> bugAt(int row) const;
    int bugIdAt(int row) const;

    void setDateFormat(const QString& format);

    // The sort field of a header column; false for a column that cannot sort.
    static bool sortFieldOf(int column, lindor::eBugField* field);
    static int columnWidth(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Pages read from the engine since the set was given (for measuring).
    int pagesRead() const { return pagesRead_; }

private:
    struct Page {
        int first = 0;
        std::vector<lindor::ComPtr<lindor::IBug>> rows;
    };

    const Page& pageHolding(int row) const;
    QString cellText(lindor::IBug* bug, int column) const;
    void forgetRows();
    void redrawAll();

    const int pageSize_;
    lindor::ComPtr<lindor::IBugSet> bugs_;
    int rows_ = 0;
    QString dateFormat_;
    mutable std::deque<Page> pages_;
    mutable int pagesRead_ = 0;
};

}  // namespace nimbra
