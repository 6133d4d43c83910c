#include "admin/rightpage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/copyuserdialog.h"
#include "admin/engineobject.h"
#include "admin/rightitems.h"
#include "admin/userdirectory.h"
#include "widgets/checktree.h"
#include "widgets/engineerror.h"

namespace nimbra {

namespace {

// Rights items carry their flag; status items carry none.
constexpr int kFlagRole = Qt::UserRole;

roles::RightFlag FlagOf(const QTreeWidgetItem* item)
{
    return static_cast<roles::RightFlag>(item->data(0, kFlagRole).toInt());
}

}  // namespace

RightPage::RightPage(lindor::IExeContext* context, QWidget* parent)
    : SheetPage(tr("Assign right"), parent), context_(context)
{
    setObjectName(QStringLiteral("rightPage"));
    projects_ = new QComboBox(this);
    projects_->setObjectName(QStringLiteral("rightProjects"));
    projects_->setMinimumContentsLength(20);
    auto* projectLabel = new QLabel(tr("Select a &project to assign right"), this);
    projectLabel->setBuddy(projects_);
    tree_ = new CheckTree(this);
    tree_->setObjectName(QStringLiteral("rightTree"));
    tree_->setMinimumHeight(260);
    copy_ = new QPushButton(tr("&Copy from user..."), this);
    copy_->setObjectName(QStringLiteral("copyFromUser"));
    templates_ = new QComboBox(this);
    templates_->setObjectName(QStringLiteral("rightTemplates"));
    templates_->setPlaceholderText(tr("Select Template"));
    for (const roles::RoleTemplate& each : roles::RoleTemplates::all())
        templates_->addItem(QString::fromStdString(each.name));
    templates_->setCurrentIndex(-1);

    auto* top = new QHBoxLayout;
    top->addWidget(projectLabel);
    top->addWidget(projects_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(copy_);
    bottom->addStretch();
    bottom->addWidget(templates_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tree_, 1);
    layout->addLayout(bottom);

    connect(projects_, &QComboBox::activated, this,
            [this](int index) { loadProject(projects_->itemData(index).toInt()); });
    connect(tree_, &CheckTree::checksChanged, this, &RightPage::saveTree);
    connect(templates_, &QComboBox::activated, this, &RightPage::applyTemplate);
    connect(copy_, &QPushButton::clicked, this, &RightPage::copyFromUser);
}

lindor::IUserRight* RightPage::role() const
{
    return started_ ? editor_.role() : initialRole_.get();
}

void RightPage::enter()
{
    lindor::ComPtr<lindor::IProjectSet> projects;
    QStringList statuses;
    if (!readProjectsAndStatuses(&projects, &statuses) ||
        !editor_.start(projects.get(), initialRole_)) {
        EngineError::show(this);
        setEditable(false);
        return;
    }
    buildTree(statuses);
    fillProjectList();
    started_ = true;
    setEditable(!editor_.projects().isEmpty());
    showCurrentRight();
}

bool RightPage::leave()
{
    if (!started_) return true;
    saveTree();
    if (editor_.finish()) return true;
    EngineError::show(this);
    return false;
}

bool RightPage::readProjectsAndStatuses(lindor::ComPtr<lindor::IProjectSet>* projects,
                                        QStringList* statuses)
{
    lindor::ComPtr<lindor::IAdmin> admin;
    lindor::ComPtr<lindor::IBugStatus> names;
    if (context_->get_Admin(admin.put()) != lindor::S_OK || !admin ||
        admin->get_ProjectSet(projects->put()) != lindor::S_OK ||
        context_->get_AllBugStatus(names.put()) != lindor::S_OK || !names)
        return false;
    *statuses = EngineNames(names.get());
    return true;
}

void RightPage::buildTree(const QStringList& statusNames)
{
    tree_->clear();
    for (const RightGroup& group : RightItems::groups()) {
        QTreeWidgetItem* groupItem = tree_->addGroup(group.label);
        for (const RightItem& right : group.items)
            tree_->addItem(groupItem, right.label)
                ->setData(0, kFlagRole, static_cast<int>(right.flag));
    }
    statusGroup_ = tree_->addGroup(RightItems::statusGroupLabel());
    for (const QString& name : statusNames) tree_->addItem(statusGroup_, name);
    tree_->expandAll();
}

void RightPage::fillProjectList()
{
    projects_->clear();
    for (const RoleEditor::Project& project : editor_.projects())
        projects_->addItem(project.name, project.id);
    projects_->setCurrentIndex(projects_->findData(editor_.currentProject()));
}

void RightPage::loadProject(int projectId)
{
    if (!editor_.select(projectId)) EngineError::show(this);
    showCurrentRight();
}

void RightPage::showCurrentRight()
{
    const QStringList statuses = editor_.statuses();
    for (QTreeWidgetItem* group : tree_->groups()) {
        for (QTreeWidgetItem* item : CheckTree::children(group)) {
            if (group == statusGroup_)
                tree_->setChecked(item, statuses.contains(item->text(0)));
            else
                tree_->setChecked(item, editor_.flag(FlagOf(item)));
        }
    }
    templates_->setCurrentIndex(-1);
}

void RightPage::saveTree()
{
    if (!started_ || editor_.currentProject() == 0) return;
    QStringList statuses;
    for (QTreeWidgetItem* group : tree_->groups()) {
        for (QTreeWidgetItem* item : CheckTree::children(group)) {
            if (group == statusGroup_) {
                if (CheckTree::isChecked(item)) statuses << item->text(0);
                continue;
            }
            editor_.setFlag(FlagOf(item), CheckTree::isChecked(item));
        }
    }
    editor_.setStatuses(statuses);
}

void RightPage::applyTemplate(int index)
{
    const auto& templates = roles::RoleTemplates::all();
    if (index < 0 || index >= static_cast<int>(templates.size())) return;
    if (!editor_.applyTemplate(templates.at(index))) EngineError::show(this);
    showCurrentRight();
}

void RightPage::copyFromUser()
{
    UserDirectory directory(context_);
    QList<UserRow> users;
    if (!directory.list(&users)) {
        EngineError::show(this);
        return;
    }
    CopyUserDialog dialog(users, this);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenUserId() == 0) return;
    UserDirectory::Found found;
    if (!directory.find(dialog.chosenUserId(), &found)) {
        EngineError::show(this);
        return;
    }
    if (found && !editor_.copyFrom(found.item.get())) {
        EngineError::show(this);
        return;
    }
    fillProjectList();
    showCurrentRight();
}

void RightPage::setEditable(bool editable)
{
    tree_->setEnabled(editable);
    templates_->setEnabled(editable);
    copy_->setEnabled(editable);
}

}  // namespace nimbra
