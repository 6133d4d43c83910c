// The dialog "Project property": every project with "&Edit", "&Delete" and
// "&Close". Editing opens the project sheet; deleting asks twice.
#pragma once

#include <lindor/lindor.h>

#include <QDialog>

class QTreeWidget;

namespace nimbra {

struct ProjectRow;

class ProjectListDialog : public QDialog {
    Q_OBJECT
public:
    ProjectListDialog(lindor::IExeContext* context, QWidget* parent = nullptr);

    // False (the engine's description shown) when the projects cannot be read.
    bool fill();
    QTreeWidget* list() const { return list_; }

    void editProject();
    void deleteProject();

private:
    int selectedProjectId() const;
    void showRow(int row, const ProjectRow& project);

    lindor::IExeContext* context_;
    QTreeWidget* list_ = nullptr;
};

}  // namespace nimbra
