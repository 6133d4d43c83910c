#include "widgets/checktree.h"

#include <QKeyEvent>

#include <utility>

namespace nimbra {

namespace {

constexpr int kGroupRole = Qt::UserRole + 100;
// The check state a child had when last seen, so that a change of its other
// data (its text, what a program keeps in it) is not taken for a click.
constexpr int kSeenStateRole = Qt::UserRole + 101;

Qt::CheckState StateOf(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

}  // namespace

CheckTree::CheckTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemChanged, this, &CheckTree::onItemChanged);
    // A group carries no check box of its own for Qt to flip, so that one
    // click is one toggle of the whole group.
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (isGroup(item)) toggle(item);
    });
}

QTreeWidgetItem* CheckTree::addGroup(const QString& text)
{
    auto* group = new QTreeWidgetItem(this, QStringList(text));
    group->setData(0, kGroupRole, true);
    group->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const bool wasUpdating = std::exchange(updating_, true);
    group->setCheckState(0, Qt::Unchecked);
    updating_ = wasUpdating;
    return group;
}

QTreeWidgetItem* CheckTree::addItem(QTreeWidgetItem* group, const QString& text)
{
    const bool wasUpdating = std::exchange(updating_, true);
    auto* item = new QTreeWidgetItem(group, QStringList(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    item->setData(0, kSeenStateRole, Qt::Unchecked);
    refreshGroup(group);
    updating_ = wasUpdating;
    return item;
}

void CheckTree::clearGroup(QTreeWidgetItem* group)
{
    const bool wasUpdating = std::exchange(updating_, true);
    qDeleteAll(group->takeChildren());
    refreshGroup(group);
    updating_ = wasUpdating;
}

bool CheckTree::isChecked(const QTreeWidgetItem* item)
{
    return item->checkState(0) == Qt::Checked;
}

void CheckTree::setChecked(QTreeWidgetItem* item, bool checked)
{
    const bool wasUpdating = std::exchange(updating_, true);
    const QList<QTreeWidgetItem*> targets = isGroup(item) ? children(item) : QList{item};
    for (QTreeWidgetItem* target : targets) {
        target->setCheckState(0, StateOf(checked));
        target->setData(0, kSeenStateRole, StateOf(checked));
    }
    if (QTreeWidgetItem* group = isGroup(item) ? item : item->parent()) refreshGroup(group);
    updating_ = wasUpdating;
}

void CheckTree::toggle(QTreeWidgetItem* item)
{
    setChecked(item, !isChecked(item));
    emit checksChanged();
}

QList<QTreeWidgetItem*> CheckTree::groups() const
{
    QList<QTreeWidgetItem*> list;
    for (int i = 0; i < topLevelItemCount(); ++i) list << topLevelItem(i);
    return list;
}

QList<QTreeWidgetItem*> CheckTree::children(const QTreeWidgetItem* group)
{
    QList<QTreeWidgetItem*> list;
    for (int i = 0; i < group->childCount(); ++i) list << group->child(i);
    return list;
}

void CheckTree::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* item = currentItem();
    if (event->key() == Qt::Key_Space && item != nullptr && isGroup(item)) {
        toggle(item);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool CheckTree::isGroup(const QTreeWidgetItem* item)
{
    return item->data(0, kGroupRole).toBool();
}

void CheckTree::refreshGroup(QTreeWidgetItem* group)
{
    int checked = 0;
    for (const QTreeWidgetItem* child : children(group)) checked += isChecked(child) ? 1 : 0;
    Qt::CheckState state = Qt::PartiallyChecked;
    if (checked == 0) state = Qt::Unchecked;
    if (checked > 0 && checked == group->childCount()) state = Qt::Checked;
    const bool wasUpdating = std::exchange(updating_, true);
    group->setCheckState(0, state);
    updating_ = wasUpdating;
}

// A child flipped by the user (mouse on its box, or the space bar).
void CheckTree::onItemChanged(QTreeWidgetItem* item)
{
    if (updating_ || isGroup(item) || item->parent() == nullptr) return;
    if (item->data(0, kSeenStateRole).toInt() == item->checkState(0)) return;
    const bool wasUpdating = std::exchange(updating_, true);
    item->setData(0, kSeenStateRole, item->checkState(0));
    updating_ = wasUpdating;
    refreshGroup(item->parent());
    emit checksChanged();
}

}  // namespace nimbra
