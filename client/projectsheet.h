// The sheet "Project Propery": a project's name, description and versions,
// shown read-only (projects are changed by the administration program).
#pragma once

#include <lindor/lindor.h>

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

namespace nimbra {

class ProjectSheet : public QDialog {
    Q_OBJECT
public:
    // Release dates are shown in `dateFormat` (the list's date format). A
    // version that cannot be read is shown as an engine failure.
    ProjectSheet(lindor::IProject* project, const QString& dateFormat, QWidget* parent = nullptr);

    QTabWidget* pages() const { return pages_; }
    QLineEdit* nameEdit() const { return name_; }
    QPlainTextEdit* descriptionEdit() const { return description_; }
    QTreeWidget* versions() const { return versions_; }

private:
    QWidget* makeProjectPage();
    QWidget* makeVersionPage();
    void showProject(lindor::IProject* project, const QString& dateFormat);

    QTabWidget* pages_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QTreeWidget* versions_ = nullptr;
};

}  // namespace nimbra
