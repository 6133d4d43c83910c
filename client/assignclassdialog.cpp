#include "client/assignclassdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

#include "client/enginevalues.h"
#include "widgets/engineerror.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

using lindor::ComPtr;
using lindor::S_OK;

constexpr int kIdRole = Qt::UserRole;

ComPtr<lindor::IRightSet> CurrentRights(lindor::IExeContext* context)
{
    ComPtr<lindor::IUserRight> role;
    ComPtr<lindor::IRightSet> rights;
    if (context->get_CurRight(role.put()) != S_OK || !role ||
        role->get_RightSet(rights.put()) != S_OK)
        return nullptr;
    return rights;
}

// Calls `visit` with every item of an engine set; false at the first item
// that cannot be read.
template <class Set, class Item, class Visit>
bool ForEach(Set* set, lindor::HRESULT (Set::*item)(std::int32_t, Item**), Visit visit)
{
    std::int32_t count = 0;
    if (set == nullptr || set->get_Count(&count) != S_OK) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<Item> one;
        if ((set->*item)(i, one.put()) != S_OK || !one) return false;
        visit(one.get());
    }
    return true;
}

QSet<int> ProjectIds(lindor::IProjectSet* projects)
{
    QSet<int> ids;
    ForEach(projects, &lindor::IProjectSet::get_Item, [&ids](lindor::IProject* project) {
        ids.insert(NumberOf(project, &lindor::IProject::get_ID));
    });
    return ids;
}

}  // namespace

bool AssignClassDialog::mayOpen(lindor::IExeContext* context, QWidget* parent)
{
    bool allowed = false;
    const ComPtr<lindor::IRightSet> rights = CurrentRights(context);
    ForEach(rights.get(), &lindor::IRightSet::get_Item, [&allowed](lindor::IRight* right) {
        allowed |= NumberOf(right, &lindor::IRight::get_AssignClassToUser) == 1;
    });
    if (!allowed)
        Messages::warning(parent,
                          QStringLiteral("You have no right to assign classification to user!"));
    return allowed;
}

void AssignClassDialog::run(lindor::IExeContext* context, QWidget* parent)
{
    if (!mayOpen(context, parent)) return;
    AssignClassDialog dialog(context, parent);
    dialog.exec();
}

AssignClassDialog::AssignClassDialog(lindor::IExeContext* context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("assignClassDialog"));
    setWindowTitle(tr("Assign user to classification"));
    users_ = new QListWidget(this);
    users_->setObjectName(QStringLiteral("assignUsers"));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("assignProjects"));
    tree_->setHeaderHidden(true);
    auto* usersLabel = new QLabel(tr("&Users:"), this);
    usersLabel->setBuddy(users_);
    auto* projectsLabel = new QLabel(tr("&Projects:"), this);
    projectsLabel->setBuddy(tree_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* assignButton = buttons->addButton(tr("&Assign"), QDialogButtonBox::ApplyRole);
    assignButton->setObjectName(QStringLiteral("assignButton"));
    buttons->addButton(QDialogButtonBox::Close);
    connect(assignButton, &QPushButton::clicked, this, &AssignClassDialog::assign);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(users_, &QListWidget::currentRowChanged, this, &AssignClassDialog::showUser);

    auto* layout = new QGridLayout(this);
    layout->addWidget(usersLabel, 0, 0);
    layout->addWidget(projectsLabel, 0, 1);
    layout->addWidget(users_, 1, 0);
    layout->addWidget(tree_, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    resize(540, 380);

    if (!loadUsers()) EngineError::show(this);
    if (users_->count() > 0) users_->setCurrentRow(0);
}

// Every user, each with the projects shown for him: those of the current
// user's projects in which the current user has a rights row and the user
// works as well.
bool AssignClassDialog::loadUsers()
{
    ComPtr<lindor::IUser> me;
    ComPtr<lindor::IProjectSet> mine;
    ComPtr<lindor::IUserSet> everyone;
    const ComPtr<lindor::IRightSet> rights = CurrentRights(context_);
    if (!rights || context_->get_CurUser(me.put()) != S_OK || !me ||
        me->get_ProjectSet(mine.put()) != S_OK || context_->get_AllUser(everyone.put()) != S_OK)
        return false;
    QSet<int> rightProjects;
    if (!ForEach(rights.get(), &lindor::IRightSet::get_Item, [&rightProjects](lindor::IRight* r) {
            rightProjects.insert(NumberOf(r, &lindor::IRight::get_ProjectID));
        }))
        return false;

    bool readAll = true;
    const bool listed =
        ForEach(everyone.get(), &lindor::IUserSet::get_Item, [&](lindor::IUser* user) {
            ComPtr<lindor::IProjectSet> theirs;
            if (!readAll || user->get_ProjectSet(theirs.put()) != S_OK) {
                readAll = false;
                return;
            }
            const QSet<int> theirIds = ProjectIds(theirs.get());
            ShownUser shown;
            shown.id = NumberOf(user, &lindor::IUser::get_ID);
            shown.name = TextOf(user, &lindor::IUser::get_UserName);
            ForEach(mine.get(), &lindor::IProjectSet::get_Item, [&](lindor::IProject* project) {
                const int id = NumberOf(project, &lindor::IProject::get_ID);
                if (rightProjects.contains(id) && theirIds.contains(id))
                    shown.projects.emplace_back(project);
            });
            auto* entry = new QListWidgetItem(shown.name, users_);
            entry->setData(kIdRole, shown.id);
            shown_.push_back(std::move(shown));
        });
    return listed && readAll;
}

int AssignClassDialog::selectedUserId() const
{
    const QListWidgetItem* entry = users_->currentItem();
    return entry == nullptr ? 0 : entry->data(kIdRole).toInt();
}

void AssignClassDialog::showUser(int row)
{
    tree_->clear();
    if (row < 0 || row >= static_cast<int>(shown_.size())) return;
    const ShownUser& user = shown_[static_cast<std::size_t>(row)];
    if (user.id <= 0) return;
    for (const ComPtr<lindor::IProject>& project : user.projects) {
        if (!addProject(user, project.get())) {
            EngineError::show(this);
            break;
        }
    }
    tree_->sortItems(0, Qt::AscendingOrder);
}

bool AssignClassDialog::addProject(const ShownUser& user, lindor::IProject* project)
{
    const int projectId = NumberOf(project, &lindor::IProject::get_ID);
    ComPtr<lindor::IClassificationSet> all;
    ComPtr<lindor::IClassificationSet> assigned;
    if (project->get_ClassificationSet(all.put()) != S_OK ||
        context_->GetUserClassification(user.id, projectId, assigned.put()) != S_OK)
        return false;
    QSet<int> assignedIds;
    if (!ForEach(assigned.get(), &lindor::IClassificationSet::get_Item,
                 [&assignedIds](lindor::IClassification* c) {
                     assignedIds.insert(NumberOf(c, &lindor::IClassification::get_ID));
                 }))
        return false;
    QTreeWidgetItem* group = addGroup(TextOf(project, &lindor::IProject::get_Name), projectId);
    group->setExpanded(true);
    return ForEach(all.get(), &lindor::IClassificationSet::get_Item,
                   [&](lindor::IClassification* c) {
                       const int id = NumberOf(c, &lindor::IClassification::get_ID);
                       addItem(group, TextOf(c, &lindor::IClassification::get_Name), id,
                               assignedIds.contains(id));
                   });
}

void AssignClassDialog::assign()
{
    const int userId = selectedUserId();
    if (userId <= 0) return;
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = tree_->topLevelItem(g);
        const QList<int> ids = checkedIds(group);
        if (context_->AssignUserClassification(userId, ids.isEmpty() ? nullptr : ids.constData(),
                                               static_cast<std::int32_t>(ids.size()),
                                               group->data(0, kIdRole).toInt()) != S_OK)
            EngineError::show(this);
    }
}

QTreeWidgetItem* AssignClassDialog::addGroup(const QString& text, int id)
{
    auto* group = new QTreeWidgetItem(tree_, QStringList(text));
    group->setData(0, kIdRole, id);
    group->setFlags(Qt::ItemIsEnabled);
    return group;
}

QTreeWidgetItem* AssignClassDialog::addItem(QTreeWidgetItem* group, const QString& text, int id,
                                            bool checked)
{
    auto* item = new QTreeWidgetItem(group, QStringList(text));
    item->setData(0, kIdRole, id);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

QList<int> AssignClassDialog::checkedIds(const QTreeWidgetItem* group)
{
    QList<int> ids;
    for (int i = 0; i < group->childCount(); ++i) {
        const QTreeWidgetItem* item = group->child(i);
        if (item->checkState(0) == Qt::Checked) ids.append(item->data(0, kIdRole).toInt());
    }
    return ids;
}

}  // namespace nimbra
