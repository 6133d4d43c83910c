// The dialog "Select current project": the user's projects with their
// versions; OK activates the chosen node through the context.
#pragma once

#include <lindor/lindor.h>

#include <QDialog>

class QTreeWidget;

namespace nimbra {

class SelectProjectDialog : public QDialog {
    Q_OBJECT
public:
    SelectProjectDialog(lindor::IExeContext* context, QWidget* parent = nullptr);

    QTreeWidget* tree() const { return tree_; }
    void accept() override;

private:
    lindor::IExeContext* context_;
    QTreeWidget* tree_ = nullptr;
};

}  // namespace nimbra
