// Reporting a new bug or feature and editing the current one: the bug the
// editor works on, and how what it gives back is stored through the lists'
// bug sets, with the attachment changes, while "Updating, please wait...."
// shows.
#pragma once

#include <lindor/lindor.h>

#include <QString>

class QWidget;

namespace nimbra {

class BugListView;
class BugSheet;
class BugTabView;

class BugEditFlow {
public:
    BugEditFlow(lindor::IExeContext* context, BugTabView* views, const QString& dateFormat,
                QWidget* parent);

    // "Report Bug..." and "Report Feature...". The bug joins the list of the
    // type it has when the editor closes. True when a bug was stored.
    bool reportNew(lindor::eBugType type);
    // "Edit...": the current bug of the active list, read afresh. A bug whose
    // type changed moves to the other list. True when the bug was stored.
    bool editCurrent();

private:
    bool storeNew(BugSheet& sheet);
    bool storeEdit(BugSheet& sheet, BugListView* list);
    void offerReload(BugSheet& sheet, BugListView* list);

    lindor::IExeContext* context_;
    BugTabView* views_;
    QString dateFormat_;
    QWidget* parent_;
};

}  // namespace nimbra
