// The main window's filter commands over its filter store: "Set &Filters..."
// (the filter dialog, then saving "filter.ser"), the Select Filter button
// (filter the active list by the first filter, or show all rows again) and
// its arrow's menu (one entry per filter), and rebuilding the quick views
// when a project becomes active.
#pragma once

#include <lindor/lindor.h>

#include <QObject>

#include "client/filterstore.h"

class QMenu;
class QWidget;

namespace nimbra {

class BugTabView;
class ClientOptions;

class FilterCommands : public QObject {
    Q_OBJECT
public:
    FilterCommands(lindor::IExeContext* context, BugTabView* views, const ClientOptions& options,
                   QWidget* window);

    const FilterStore& store() const { return store_; }

    void clear() { store_.clear(); }
    // The quick views of the user in the active project and the user's
    // filters; a failure is shown, what could be built stays.
    void rebuild();
    void editFilters();
    void toggle();
    // Fills the arrow's menu: the quick views, a separator, the user's
    // filters; the active list's filter checked, the first entry the default.
    void fillMenu(QMenu* menu);
    // Filters the active list by `filter` (null shows every row).
    void apply(lindor::IBugFilterSet* filter);
    // The name of the active list's filter; empty when it has none.
    QString activeFilterName() const;
    bool activeListFiltered() const;

signals:
    void filterChanged();

private:
    lindor::IExeContext* context_;
    BugTabView* views_;
    const ClientOptions& options_;
    QWidget* window_;
    FilterStore store_;
};

}  // namespace nimbra
