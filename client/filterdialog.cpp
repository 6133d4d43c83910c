#include "client/filterdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "client/bugtexts.h"
#include "client/filterfields.h"
#include "client/filternamedialog.h"
#include "client/filtersets.h"
#include "client/filtervalueeditor.h"
#include "client/selectfilterdialog.h"
#include "widgets/engineerror.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

QString ValueText(const FilterSets::Condition& condition, const QString& dateFormat)
{
    if (condition.value.vt() == lindor::VT_DATE)
        return BugTexts::dateText(condition.value.date(), dateFormat);
    return QString::fromStdString(condition.value.text());
}

QLabel* Buddy(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

FilterDialog::FilterDialog(lindor::IExeContext* context, const FilterStore& store,
                           const QString& dateFormat, QWidget* parent)
    : QDialog(parent), context_(context), choices_(context), dateFormat_(dateFormat)
{
    setObjectName(QStringLiteral("filterDialog"));
    setWindowTitle(tr("Filter"));
    QString error;
    usable_ = store_.copyFrom(store, &error);
    if (!usable_) Messages::error(parent, error);

    names_ = new QComboBox(this);
    names_->setObjectName(QStringLiteral("filterNames"));
    names_->setMinimumContentsLength(24);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Buddy(tr("&Name:"), names_, this));
    nameRow->addWidget(names_, 1);
    nameRow->addWidget(
        addButton(tr("&New"), QStringLiteral("newButton"), &FilterDialog::newFilter));
    nameRow->addWidget(
        addButton(tr("&Copy to"), QStringLiteral("copyToButton"), &FilterDialog::copyTo));
    nameRow->addWidget(
        addButton(tr("&Rename"), QStringLiteral("renameButton"), &FilterDialog::renameFilter));
    nameRow->addWidget(
        addButton(tr("&Delete"), QStringLiteral("deleteButton"), &FilterDialog::deleteFilter));

    conditions_ = new QTreeWidget(this);
    conditions_->setObjectName(QStringLiteral("conditionList"));
    conditions_->setColumnCount(4);
    conditions_->setHeaderLabels({tr("And/Or"), tr("Field"), tr("Condition"), tr("Value")});
    conditions_->headerItem()->setTextAlignment(AndOrColumn, Qt::AlignCenter);
    conditions_->setRootIsDecorated(false);
    conditions_->setUniformRowHeights(true);
    conditions_->setAllColumnsShowFocus(true);
    conditions_->setSelectionMode(QAbstractItemView::SingleSelection);
    conditions_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const int widths[] = {70, 110, 85, 180};
    for (int column = AndOrColumn; column <= ValueColumn; ++column)
        conditions_->setColumnWidth(column, widths[column]);
    conditions_->setMinimumWidth(70 + 110 + 85 + 180 + 4);
    auto* rowButtons = new QVBoxLayout;
    rowButtons->addWidget(addButton(tr("Add &condition"), QStringLiteral("addConditionButton"),
                                    &FilterDialog::addCondition));
    rowButtons->addWidget(addButton(tr("D&elete conditon"), QStringLiteral("deleteConditionButton"),
                                    &FilterDialog::deleteCondition));
    rowButtons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(conditions_, 1);
    listRow->addLayout(rowButtons);

    auto* okCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(okCancel, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(okCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(listRow, 1);
    layout->addWidget(buildEditors());
    layout->addWidget(okCancel);

    connect(names_, &QComboBox::currentIndexChanged, this, [this] { showFilter(); });
    connect(conditions_, &QTreeWidget::itemSelectionChanged, this,
            [this] { copyRowIntoEditors(selectedRow()); });
    connect(field_, &QComboBox::activated, this, [this] { chooseField(field_->currentText()); });
    fillNames();
    showFilter();
    resize(760, 420);
}

QPushButton* FilterDialog::addButton(const QString& text, const QString& objectName,
                                     void (FilterDialog::*run)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, run);
    return button;
}

QPushButton* FilterDialog::button(const QString& objectName) const
{
    return findChild<QPushButton*>(objectName);
}

QWidget* FilterDialog::buildEditors()
{
    auto* box = new QWidget(this);
    andOr_ = new QComboBox(box);
    andOr_->setObjectName(QStringLiteral("andOrList"));
    andOr_->addItems(FilterFields::andOrTexts());
    field_ = new QComboBox(box);
    field_->setObjectName(QStringLiteral("fieldList"));
    field_->addItems(FilterFields::shownNames());
    condition_ = new QComboBox(box);
    condition_->setObjectName(QStringLiteral("conditionKindList"));
    condition_->setMinimumContentsLength(11);
    value_ = new FilterValueEditor(box);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Buddy(tr("And/&Or"), andOr_, box), 0, 0);
    grid->addWidget(Buddy(tr("&Field"), field_, box), 0, 1);
    grid->addWidget(Buddy(tr("Co&ndition"), condition_, box), 0, 2);
    grid->addWidget(Buddy(tr("&Value"), value_, box), 0, 3);
    grid->addWidget(andOr_, 1, 0);
    grid->addWidget(field_, 1, 1);
    grid->addWidget(condition_, 1, 2);
    grid->addWidget(value_, 1, 3);
    grid->addWidget(addButton(tr("&Apply"), QStringLiteral("applyButton"), &FilterDialog::apply), 1,
                    4);
    grid->setColumnStretch(3, 1);
    return box;
}

void FilterDialog::fillNames()
{
    names_->clear();
    for (int i = 0; i < store_.count(); ++i) {
        const QString name = FilterSets::name(store_.at(i));
        if (!name.isEmpty()) names_->addItem(name);
    }
    names_->setCurrentIndex(names_->count() > 0 ? 0 : -1);
}

QString FilterDialog::currentName() const
{
    return names_->currentText();
}

lindor::IBugFilterSet* FilterDialog::currentSet() const
{
    return names_->currentIndex() < 0 ? nullptr : store_.find(currentName());
}

int FilterDialog::selectedRow() const
{
    const QList<QTreeWidgetItem*> rows = conditions_->selectedItems();
    return rows.isEmpty() ? -1 : conditions_->indexOfTopLevelItem(rows.first());
}

void FilterDialog::selectFilter(const QString& name)
{
    const int index = names_->findText(name, Qt::MatchExactly);
    if (index == names_->currentIndex()) {
        showFilter();
        return;
    }
    names_->setCurrentIndex(index);  // shows it
}

void FilterDialog::selectRow(int row)
{
    QTreeWidgetItem* item = conditions_->topLevelItem(row);
    conditions_->setCurrentItem(item);
    if (item != nullptr) item->setSelected(true);
}

void FilterDialog::showFilter()
{
    conditions_->clear();
    lindor::IBugFilterSet* set = currentSet();
    const int count = FilterSets::count(set);
    for (int i = 0; i < count; ++i) {
        const lindor::ComPtr<lindor::IBugFilter> filter = FilterSets::item(set, i);
        if (!filter) {
            Messages::error(this, EngineError::text());
            break;
        }
        showRow(new QTreeWidgetItem(conditions_), filter.get());
    }
    andOr_->setCurrentIndex(0);
    chooseField(FilterFields::all().front().shown);
    updateEnabling();
}

void FilterDialog::showRow(QTreeWidgetItem* row, lindor::IBugFilter* filter)
{
    FilterSets::Condition condition;
    if (!FilterSets::read(filter, &condition)) {
        Messages::error(this, EngineError::text());
        return;
    }
    const FilterFields::Field* field = FilterFields::byStored(condition.field);
    const bool first = conditions_->indexOfTopLevelItem(row) == 0;
    row->setTextAlignment(AndOrColumn, Qt::AlignCenter);
    row->setText(AndOrColumn, first ? QString() : FilterFields::andOrText(condition.andOr));
    row->setText(FieldColumn, field != nullptr ? field->shown : condition.field);
    row->setText(ConditionColumn, FilterFields::conditionText(condition.condition));
    row->setText(ValueColumn, ValueText(condition, dateFormat_));
}

void FilterDialog::copyRowIntoEditors(int row)
{
    const lindor::ComPtr<lindor::IBugFilter> filter =
        row < 0 ? nullptr : FilterSets::item(currentSet(), row);
    FilterSets::Condition condition;
    if (filter && FilterSets::read(filter.get(), &condition)) {
        andOr_->setCurrentIndex(
            row == 0 ? -1 : andOr_->findText(FilterFields::andOrText(condition.andOr)));
        if (const FilterFields::Field* field = FilterFields::byStored(condition.field)) {
            chooseField(field->shown);
            condition_->setCurrentIndex(
                condition_->findText(FilterFields::conditionText(condition.condition)));
            value_->setValue(condition.value);
        }
    }
    updateEnabling();
}

void FilterDialog::chooseField(const QString& shown)
{
    const FilterFields::Field* field = FilterFields::byShown(shown);
    if (field == nullptr) return;
    field_->setCurrentIndex(field_->findText(shown, Qt::MatchExactly));
    condition_->clear();
    condition_->addItems(FilterFields::conditionsFor(field->kind));
    condition_->setCurrentIndex(0);
    QString error;
    const QStringList choices = choices_.of(field->choices, &error);
    if (!error.isEmpty()) Messages::error(this, error);
    value_->reset(field->kind, choices);
}

void FilterDialog::updateEnabling()
{
    const bool chosen = currentSet() != nullptr;
    const bool editable = chosen && !store_.isBuiltIn(currentName());
    for (const char* name : {"renameButton", "deleteButton", "addConditionButton",
                             "deleteConditionButton", "applyButton"})
        button(QLatin1String(name))->setEnabled(editable);
    button(QStringLiteral("copyToButton"))->setEnabled(chosen);
    for (QWidget* editor : {static_cast<QWidget*>(field_), static_cast<QWidget*>(condition_),
                            static_cast<QWidget*>(value_)})
        editor->setEnabled(editable);
    // The first condition joins nothing before it.
    andOr_->setEnabled(editable && selectedRow() != 0);
}

QStringList FilterDialog::userFiltersBut(const QString& name) const
{
    QStringList names;
    for (int i = store_.builtInCount(); i < store_.count(); ++i) {
        const QString other = FilterSets::name(store_.at(i));
        if (other != name && !other.isEmpty()) names.append(other);
    }
    return names;
}

void FilterDialog::newFilter()
{
    FilterNameDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QString name = dialog.name();
    if (store_.find(name) == nullptr) {
        lindor::ComPtr<lindor::IBugFilterSet> set = FilterSets::make(name);
        if (!set) {
            Messages::error(this, EngineError::text());
            return;
        }
        store_.add(set);
        names_->addItem(name);
    }
    selectFilter(name);
}

void FilterDialog::copyTo()
{
    lindor::IBugFilterSet* source = currentSet();
    if (source == nullptr) return;
    SelectFilterDialog dialog(userFiltersBut(currentName()), this);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty()) return;
    lindor::IBugFilterSet* target = store_.find(dialog.chosen());
    if (target == nullptr || target->AddBatch(source) != lindor::S_OK)
        Messages::error(this, QStringLiteral("Copy to failed!"));
}

void FilterDialog::renameFilter()
{
    lindor::IBugFilterSet* set = currentSet();
    if (set == nullptr || store_.isBuiltIn(currentName())) return;
    FilterNameDialog dialog(this);
    dialog.setName(currentName());
    QStringList others;
    for (int i = 0; i < store_.count(); ++i) others.append(FilterSets::name(store_.at(i)));
    others.removeAll(currentName());
    dialog.setRefusedNames(others);
    if (dialog.exec() != QDialog::Accepted) return;
    if (set->put_Name(dialog.name().toStdString()) != lindor::S_OK) {
        Messages::error(this, EngineError::text());
        return;
    }
    names_->setItemText(names_->currentIndex(), dialog.name());
}

void FilterDialog::deleteFilter()
{
    const QString name = currentName();
    if (currentSet() == nullptr || store_.isBuiltIn(name)) return;
    if (!Messages::askYesNo(this, QStringLiteral("Do you really want to delete this filter?")))
        return;
    store_.remove(name);
    const QSignalBlocker quiet(names_);
    names_->removeItem(names_->currentIndex());
    names_->setCurrentIndex(names_->count() > 0 ? 0 : -1);
    showFilter();
}

void FilterDialog::addCondition()
{
    lindor::IBugFilterSet* set = currentSet();
    if (set == nullptr) return;
    lindor::ComPtr<lindor::IBugFilter> filter = FilterSets::makeJoined(lindor::LogAnd);
    if (!filter || set->Add(filter.get()) != lindor::S_OK) {
        Messages::error(this, EngineError::text());
        return;
    }
    auto* row = new QTreeWidgetItem(conditions_);
    selectRow(conditions_->indexOfTopLevelItem(row));
    conditions_->setFocus();
    // The new condition starts from the first entry of every list.
    if (andOr_->isEnabled()) andOr_->setCurrentIndex(0);
    chooseField(FilterFields::all().front().shown);
    apply();
}

void FilterDialog::deleteCondition()
{
    const int row = selectedRow();
    if (row < 0) {
        Messages::warning(this, QStringLiteral("Please select an item!"));
        return;
    }
    if (currentSet()->Remove(row) != lindor::S_OK) {
        Messages::error(this, EngineError::text());
        return;
    }
    delete conditions_->takeTopLevelItem(row);
    if (QTreeWidgetItem* first = conditions_->topLevelItem(0))
        first->setText(AndOrColumn, QString());
    copyRowIntoEditors(selectedRow());
}

void FilterDialog::apply()
{
    const int row = selectedRow();
    if (row < 0) {
        Messages::warning(this, QStringLiteral("Please select an item!"));
        return;
    }
    const lindor::ComPtr<lindor::IBugFilter> filter = FilterSets::item(currentSet(), row);
    const FilterFields::Field* field = FilterFields::byShown(field_->currentText());
    if (!filter || field == nullptr) {
        Messages::error(this, EngineError::text());
        return;
    }
    const QString andOr = row == 0 ? QString() : andOr_->currentText();
    const FilterSets::Condition condition{field->stored,
                                          FilterFields::conditionOf(condition_->currentText()),
                                          value_->value(), FilterFields::andOrOf(andOr)};
    if (!FilterSets::store(filter.get(), condition)) Messages::error(this, EngineError::text());
    // The row shows what the condition holds now, also after a refusal.
    showRow(conditions_->topLevelItem(row), filter.get());
}

}  // namespace nimbra
