// The page "Project": the project's name (at most 64 characters, never
// empty) and its description (at most 1024).
#pragma once

#include "admin/sheetpage.h"

class QLineEdit;
class QPlainTextEdit;

namespace nimbra {

struct ProjectRow;

class ProjectPage : public SheetPage {
    Q_OBJECT
public:
    explicit ProjectPage(QWidget* parent = nullptr);

    void fillFrom(const ProjectRow& project);
    void readInto(ProjectRow* project) const;

    // An empty name keeps the administrator on the page.
    bool leave() override;

private:
    QLineEdit* name_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
};

}  // namespace nimbra
