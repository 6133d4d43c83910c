// Opens the sheets of one project from the project pane: the read-only
// "Project Propery" and the classification editor "Edit Classification".
// The project is looked up afresh by its id among all projects.
#pragma once

#include <lindor/lindor.h>

#include <QString>

class QWidget;

namespace nimbra {

class ProjectDialogs {
public:
    // Null when the project cannot be read or no longer exists; the reason
    // has been shown.
    static lindor::ComPtr<lindor::IProject> find(lindor::IExeContext* context, int projectId,
                                                 QWidget* parent);
    static void showProperties(lindor::IExeContext* context, int projectId,
                               const QString& dateFormat, QWidget* parent);
    static void editClassifications(lindor::IExeContext* context, int projectId, QWidget* parent);
};

}  // namespace nimbra
