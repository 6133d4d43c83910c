// The docking pane "My Projects": the projects the user may work in, each with
// its versions, under the root "All Projects"; the active node is bold.
// Activation goes through the context, whose OnActiveProject event makes the
// main window mark the tree; a project node's sheets are asked for by signal.
#pragma once

#include <lindor/lindor.h>

#include <QDockWidget>

class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace nimbra {

class ProjectPane : public QDockWidget {
    Q_OBJECT
public:
    explicit ProjectPane(QWidget* parent = nullptr);

    void setContext(lindor::IExeContext* context) { context_ = context; }
    // Rebuilds the tree from the user's projects; an engine failure is shown.
    void reload();
    void clear();
    // P = 0 marks the root; V = 0 the project node; else the version node.
    void markActive(int projectId, int versionId);
    // Activates the ids the node stands for; an engine failure is shown.
    void activate(QTreeWidgetItem* node);
    // The context menu's entries for `node`.
    void fillMenu(QMenu* menu, QTreeWidgetItem* node);

    QTreeWidget* tree() const { return tree_; }
    QTreeWidgetItem* boldNode() const { return bold_; }
    QTreeWidgetItem* root() const;

signals:
    // The context menu of a project node asks for its sheets.
    void classificationsRequested(int projectId);
    void propertiesRequested(int projectId);

private:
    void setBold(QTreeWidgetItem* node);
    void showMenu(const QPoint& at);

    QTreeWidget* tree_ = nullptr;
    QTreeWidgetItem* bold_ = nullptr;
    lindor::IExeContext* context_ = nullptr;
};

}  // namespace nimbra
