// A tree of check boxes in two levels: group items and the items under them.
// A group shows the state of its children (checked when all are, partly when
// some are); choosing a group, by a click or the space bar, checks all of its
// children, or clears them all when every one was already checked.
#pragma once

#include <QList>
#include <QTreeWidget>

namespace nimbra {

class CheckTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CheckTree(QWidget* parent = nullptr);

    QTreeWidgetItem* addGroup(const QString& text);
    QTreeWidgetItem* addItem(QTreeWidgetItem* group, const QString& text);
    // Removes every item under a group.
    void clearGroup(QTreeWidgetItem* group);

    // A child's own check box, or a group's derived state (true only when
    // every child is checked).
    static bool isChecked(const QTreeWidgetItem* item);
    // Sets a child, or every child of a group, without emitting checksChanged.
    void setChecked(QTreeWidgetItem* item, bool checked);
    // Acts as a user choosing the item: a child flips, a group toggles its
    // children. Emits checksChanged.
    void toggle(QTreeWidgetItem* item);

    QList<QTreeWidgetItem*> groups() const;
    static QList<QTreeWidgetItem*> children(const QTreeWidgetItem* group);

signals:
    // The user changed one or more check boxes.
    void checksChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    static bool isGroup(const QTreeWidgetItem* item);
    void refreshGroup(QTreeWidgetItem* group);
    void onItemChanged(QTreeWidgetItem* item);

    bool updating_ = false;
};

}  // namespace nimbra
