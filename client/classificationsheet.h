// The sheet "Edit Classification": the classifications of one project, added,
// renamed and deleted in the database at once through the project's
// classification set. OK needs at least one classification.
#pragma once

#include <lindor/lindor.h>

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace nimbra {

class ClassificationSheet : public QDialog {
    Q_OBJECT
public:
    // `classifications` has the context attached, so that it may write.
    explicit ClassificationSheet(lindor::ComPtr<lindor::IClassificationSet> classifications,
                                 QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }

    // The buttons' actions; each shows an engine failure and then keeps the
    // list as it was.
    void addClassification();
    void renameSelected();
    void deleteSelected();

    void accept() override;

private:
    QWidget* makePage();
    void fillList();
    void updateButtons();
    QListWidgetItem* selectedEntry() const;
    // The set's item with that id, made the set's current item (so that
    // Update writes it); null when the set has none.
    lindor::ComPtr<lindor::IClassification> findInSet(int id) const;

    lindor::ComPtr<lindor::IClassificationSet> set_;
    QListWidget* list_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
};

}  // namespace nimbra
