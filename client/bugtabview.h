// The view area: the tabs "Bug" and "Feature", each with its list. The active
// list is the one of the selected tab.
#pragma once

#include <lindor/lindor.h>

#include <QTabWidget>

namespace nimbra {

class BugListView;

class BugTabView : public QTabWidget {
    Q_OBJECT
public:
    explicit BugTabView(QWidget* parent = nullptr);

    BugListView* bugs() const { return bugs_; }
    BugListView* features() const { return features_; }
    BugListView* activeList() const;
    // Gives both lists no set (they empty).
    void clearLists();

private:
    BugListView* bugs_ = nullptr;
    BugListView* features_ = nullptr;
};

}  // namespace nimbra
