// The "Attachment" page of the bug editor: the bug's files in four views
// (large icons, small icons, list, detail), and the files to add and to
// remove, kept until the bug is stored. Files dropped on the page are added
// as "Add file" adds them.
#pragma once

#include <lindor/lindor.h>

#include <QMap>
#include <QWidget>

#include <memory>

#include "client/bugsheetsubject.h"
#include "client/pendingattachments.h"

class QAction;
class QItemSelectionModel;
class QListView;
class QMenu;
class QStackedWidget;
class QStandardItemModel;
class QToolBar;
class QTreeView;

namespace nimbra {

class AttachmentPage : public QWidget {
    Q_OBJECT
public:
    enum class View { LargeIcons, SmallIcons, List, Detail };
    enum class Tool { AddFile, Open, SaveAs, Delete };

    explicit AttachmentPage(QWidget* parent = nullptr);

    // A stored bug shows its files; false after an engine failure (its
    // description left for the caller).
    bool load(const BugSheetSubject& subject);
    const PendingAttachments& pending() const { return pending_; }

    void setView(View view);
    View view() const { return view_; }

    // What the toolbar's actions do, once a path is known.
    bool addFile(const QString& path);
    void deleteSelected();
    void openSelected();
    void saveSelectedAs(const QString& path);

    QStandardItemModel* model() const { return model_; }
    QItemSelectionModel* selection() const { return selection_; }
    QAction* action(Tool tool) const { return tools_.value(tool); }
    QAction* viewAction(View view) const { return views_.value(view); }
    // The list's context menu.
    std::unique_ptr<QMenu> createContextMenu();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildToolBar();
    void buildViews();
    void appendRow(const QString& name, qint64 size, double date, int id, const QString& path);
    int selectedRow() const;
    QString rowText(int row, int column) const;
    int rowId(int row) const;
    QString rowPath(int row) const;
    void chooseFileToAdd();
    void chooseSaveTarget();
    bool mayEdit() const;
    void updateEnabling();

    BugSheetSubject subject_;
    lindor::ComPtr<lindor::IFileSet> files_;
    PendingAttachments pending_;
    View view_ = View::LargeIcons;

    QToolBar* toolBar_ = nullptr;
    QMap<Tool, QAction*> tools_;
    QMap<View, QAction*> views_;
    QStandardItemModel* model_ = nullptr;
    QItemSelectionModel* selection_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QListView* iconView_ = nullptr;
    QTreeView* detailView_ = nullptr;
};

}  // namespace nimbra
