// The nodes of a project tree: projects with their versions below, each node
// carrying its record id. A node's kind follows from its depth.
#pragma once

#include <lindor/lindor.h>

#include <QIcon>

class QTreeWidget;
class QTreeWidgetItem;

namespace nimbra {

class ProjectTreeItems {
public:
    // Adds one node per project of `projects` (expanded, with its versions)
    // under `parent`, or at the top of `tree` when parent is null. False at
    // the first engine failure; the nodes added before it stay.
    static bool addProjects(QTreeWidget* tree, QTreeWidgetItem* parent,
                            lindor::IProjectSet* projects);
    static QTreeWidgetItem* makeNode(const QString& text, int id, const QIcon& icon);
    static int idOf(const QTreeWidgetItem* item);

    static QIcon rootIcon();
    static QIcon projectIcon();
    static QIcon versionIcon();
};

}  // namespace nimbra
