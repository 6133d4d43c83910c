#include "admin/adminview.h"

#include <QHeaderView>
#include <QPainter>

#include "admin/userdirectory.h"

namespace nimbra {

namespace {

constexpr int kIdRole = Qt::UserRole;

// Rows compare by their login name without regard to letter case, so that
// "bob" is not listed after "Zoe".
class UserItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int byName = QString::compare(text(0), other.text(0), Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : text(0) < other.text(0);
    }
};

}  // namespace

AdminView::AdminView(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("userList"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setHeaderLabels({tr("Login Name"), tr("User Name"), tr("Description")});
    // The description takes what room is left, 300 pixels or more.
    setColumnWidth(0, 100);
    setColumnWidth(1, 100);
    header()->setMinimumSectionSize(60);
    header()->setSectionsClickable(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &AdminView::userActivated);
}

void AdminView::showUsers(const QList<UserRow>& users)
{
    clear();
    for (const UserRow& user : users) setTexts(new UserItem(this), user);
    sortItems(0, Qt::AscendingOrder);
}

void AdminView::addUser(const UserRow& user)
{
    auto* item = new UserItem(this);
    setTexts(item, user);
    sortItems(0, Qt::AscendingOrder);
    setCurrentItem(item);
}

void AdminView::updateUser(const UserRow& user)
{
    QTreeWidgetItem* item = rowOf(user.id);
    if (item == nullptr) return;
    setTexts(item, user);
    sortItems(0, Qt::AscendingOrder);
    scrollToItem(item);
}

// No other row takes the selection, so that a second "Delete User" cannot
// hit a user nobody chose.
void AdminView::removeUser(int id)
{
    delete rowOf(id);
    clearSelection();
}

int AdminView::selectedUserId() const
{
    const auto selected = selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(0, kIdRole).toInt();
}

bool AdminView::selectUser(int id)
{
    QTreeWidgetItem* item = rowOf(id);
    if (item == nullptr) return false;
    setCurrentItem(item);
    return true;
}

QTreeWidgetItem* AdminView::rowOf(int id) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(0, kIdRole).toInt() == id) return topLevelItem(i);
    }
    return nullptr;
}

void AdminView::setEmptyNote(const QString& note)
{
    emptyNote_ = note;
    viewport()->update();
}

void AdminView::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (topLevelItemCount() != 0 || emptyNote_.isEmpty()) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().height();
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, emptyNote_);
}

void AdminView::setTexts(QTreeWidgetItem* item, const UserRow& user)
{
    item->setText(0, user.loginName);
    item->setText(1, user.userName);
    item->setText(2, user.description);
    item->setData(0, kIdRole, user.id);
}

}  // namespace nimbra
