// The page "Assign right": a project list, the rights tree of the chosen
// project with the statuses the user may set, "Select Template" and
// "Copy from user...". Every click in the tree is written into the role at
// once; leaving the page drops the projects in which the user may do
// nothing.
#pragma once

#include <lindor/lindor.h>

#include "admin/roleeditor.h"
#include "admin/sheetpage.h"

class QComboBox;
class QPushButton;
class QTreeWidgetItem;

namespace nimbra {

class CheckTree;

class RightPage : public SheetPage {
    Q_OBJECT
public:
    RightPage(lindor::IExeContext* context, QWidget* parent = nullptr);

    // The role to edit; without one the page starts a new empty role.
    void setRole(lindor::ComPtr<lindor::IUserRight> role) { initialRole_ = std::move(role); }
    // The role as edited, or the role given when the page was never shown.
    lindor::IUserRight* role() const;

    void enter() override;
    bool leave() override;

    CheckTree* tree() const { return tree_; }
    QComboBox* projectList() const { return projects_; }
    QComboBox* templateList() const { return templates_; }
    QPushButton* copyButton() const { return copy_; }
    RoleEditor& editor() { return editor_; }

private:
    void buildTree(const QStringList& statusNames);
    bool readProjectsAndStatuses(lindor::ComPtr<lindor::IProjectSet>* projects,
                                 QStringList* statuses);
    void fillProjectList();
    void loadProject(int projectId);
    void showCurrentRight();
    void saveTree();
    void applyTemplate(int index);
    void copyFromUser();
    void setEditable(bool editable);

    lindor::IExeContext* context_;
    lindor::ComPtr<lindor::IUserRight> initialRole_;
    RoleEditor editor_;
    bool started_ = false;
    QComboBox* projects_ = nullptr;
    CheckTree* tree_ = nullptr;
    QTreeWidgetItem* statusGroup_ = nullptr;
    QPushButton* copy_ = nullptr;
    QComboBox* templates_ = nullptr;
};

}  // namespace nimbra
