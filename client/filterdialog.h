// The dialog "Filter": edits a copy of the filter store. The "Name" list
// picks a filter, the list below shows its conditions, and the controls under
// it edit the selected condition. Built-in quick views can be looked at and
// copied from, not changed.
#pragma once

#include <lindor/lindor.h>

#include <QDialog>

#include "client/filterchoices.h"
#include "client/filterstore.h"

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace nimbra {

class FilterValueEditor;

class FilterDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { AndOrColumn, FieldColumn, ConditionColumn, ValueColumn };

    // `store` is copied; false from isUsable() when the copy failed (its
    // reason was shown). Dates are shown with `dateFormat`.
    FilterDialog(lindor::IExeContext* context, const FilterStore& store, const QString& dateFormat,
                 QWidget* parent = nullptr);

    bool isUsable() const { return usable_; }
    const FilterStore& store() const { return store_; }

    // The buttons, as a click runs them.
    void newFilter();
    void copyTo();
    void renameFilter();
    void deleteFilter();
    void addCondition();
    void deleteCondition();
    void apply();

    // Picks the filter of that name in the "Name" list and shows it.
    void selectFilter(const QString& name);
    QString currentName() const;
    void selectRow(int row);

    QComboBox* names() const { return names_; }
    QTreeWidget* conditions() const { return conditions_; }
    QComboBox* andOrList() const { return andOr_; }
    QComboBox* fieldList() const { return field_; }
    QComboBox* conditionList() const { return condition_; }
    FilterValueEditor* valueEditor() const { return value_; }
    QPushButton* button(const QString& objectName) const;

private:
    QPushButton* addButton(const QString& text, const QString& objectName,
                           void (FilterDialog::*run)());
    QWidget* buildEditors();
    void fillNames();
    void showFilter();
    void showRow(QTreeWidgetItem* row, lindor::IBugFilter* filter);
    void copyRowIntoEditors(int row);
    void chooseField(const QString& shown);
    void updateEnabling();
    lindor::IBugFilterSet* currentSet() const;
    int selectedRow() const;
    QStringList userFiltersBut(const QString& name) const;

    lindor::IExeContext* context_;
    FilterStore store_;
    FilterChoices choices_;
    QString dateFormat_;
    bool usable_ = false;

    QComboBox* names_ = nullptr;
    QTreeWidget* conditions_ = nullptr;
    QComboBox* andOr_ = nullptr;
    QComboBox* field_ = nullptr;
    QComboBox* condition_ = nullptr;
    FilterValueEditor* value_ = nullptr;
};

}  // namespace nimbra
