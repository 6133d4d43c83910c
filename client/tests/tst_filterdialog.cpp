// The dialog "Filter" on a real database: built-in views that can only be
// looked at, new filters and their conditions with every kind of value
// editor, copy, rename and delete; then the main window: OK saving
// "filter.ser", and the Select Filter button with its menu.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/filtercommands.h"
#include "client/filterdialog.h"
#include "client/filternamedialog.h"
#include "client/filtersets.h"
#include "client/filterstore.h"
#include "client/filtervalueeditor.h"
#include "client/mainactions.h"
#include "client/mainwindow.h"
#include "client/selectfilterdialog.h"
#include "clienttestcase.h"
#include "widgets/testsupport/messagerecorder.h"
#include "widgets/testsupport/modaldialogs.h"
#include "widgets/testsupport/testdatabase.h"
#include "widgets/testsupport/testenvironment.h"

using nimbra::Command;
using nimbra::FilterDialog;
using nimbra::FilterSets;
using nimbra::FilterStore;
using nimbra::test::ModalDialogs;

namespace {

QStringList RowTexts(const QTreeWidget* list, int row)
{
    const QTreeWidgetItem* item = list->topLevelItem(row);
    QStringList texts;
    for (int column = 0; item != nullptr && column < list->columnCount(); ++column)
        texts.append(item->text(column));
    return texts;
}

QStringList Entries(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts.append(list->itemText(i));
    return texts;
}

void ChooseField(FilterDialog& dialog, const QString& shown)
{
    QComboBox* fields = dialog.fieldList();
    fields->setCurrentIndex(fields->findText(shown));
    emit fields->activated(fields->currentIndex());
}

QString FirstName(lindor::IExeContext* context)
{
    lindor::ComPtr<lindor::IBugSeverity> severities;
    std::string name;
    if (context->get_BugSeverity(severities.put()) == lindor::S_OK) severities->get_Item(0, &name);
    return QString::fromStdString(name);
}

bool SaveUserFilter(const QString& name, const QList<FilterSets::Condition>& conditions)
{
    FilterStore store;
    lindor::ComPtr<lindor::IBugFilterSet> set = FilterSets::make(name);
    for (const FilterSets::Condition& condition : conditions)
        if (set->Add(FilterSets::makeCondition(condition).get()) != lindor::S_OK) return false;
    QString error;
    return store.add(set) && store.save(&error);
}

const FilterSets::Condition kResolved{QStringLiteral("StatusName"), lindor::Equal,
                                      lindor::Variant::Text("Resolved"), lindor::LogAnd};

}  // namespace

class FilterDialogTest : public nimbra::test::ClientTestCase {
    Q_OBJECT
private slots:
    void init()
    {
        QString error;
        QVERIFY2(makeDatabaseWithAnn(&error), qPrintable(error));
        nimbra::test::NewBug resolved;
        resolved.status = QStringLiteral("Resolved");
        QVERIFY(database->addBug(resolved) > 0 && database->addBug({}) > 0);
        messages = std::make_unique<nimbra::test::MessageRecorder>();
    }

    void cleanup()
    {
        window.reset();
        if (context) context->Close();
        context.reset();
        messages.reset();
        releaseAll();
        QCOMPARE(ModalDialogs::missed(), 0);
    }

    void builtInViewsAreShownButNotChanged()
    {
        FilterStore store = loggedInStore();
        FilterDialog dialog(context.get(), store, QStringLiteral("%d,%m,%Y"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Filter"));
        QCOMPARE(Entries(dialog.names()),
                 (QStringList{"My Bugs/Feature", "Today's Bug/Feature", "Resolved", "Verified"}));
        QCOMPARE(dialog.currentName(), QStringLiteral("My Bugs/Feature"));
        QCOMPARE(dialog.conditions()->topLevelItemCount(), 0);
        QCOMPARE(dialog.conditions()->headerItem()->text(FilterDialog::AndOrColumn),
                 QStringLiteral("And/Or"));

        dialog.selectFilter(QStringLiteral("Today's Bug/Feature"));
        QCOMPARE(RowTexts(dialog.conditions(), 0),
                 (QStringList{"", "Reported Date", "Equal",
                              QDate::currentDate().toString(QStringLiteral("dd,MM,yyyy"))}));
        for (const char* name : {"renameButton", "deleteButton", "addConditionButton",
                                 "deleteConditionButton", "applyButton"})
            QVERIFY2(!dialog.button(QLatin1String(name))->isEnabled(), name);
        QVERIFY(dialog.button(QStringLiteral("copyToButton"))->isEnabled());
        QVERIFY(!dialog.fieldList()->isEnabled() && !dialog.valueEditor()->isEnabled());
    }

    void aNewFilterGetsConditionsOfEveryKind()
    {
        FilterStore store = loggedInStore();
        FilterDialog dialog(context.get(), store, QStringLiteral("%d,%m,%Y"));
        ModalDialogs::whenShown<nimbra::FilterNameDialog>([this](nimbra::FilterNameDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Enter new filter's name"));
            d->accept();
            QCOMPARE(messages->last(), QStringLiteral("Filter's name can't be empty!"));
            QVERIFY(d->isVisible());
            d->setName(QStringLiteral("Open work"));
            d->accept();
        });
        dialog.newFilter();
        QCOMPARE(dialog.currentName(), QStringLiteral("Open work"));
        QVERIFY(dialog.button(QStringLiteral("addConditionButton"))->isEnabled());

        // New conditions start from the first field, comparison and choice.
        const QString severity = FirstName(context.get());
        dialog.addCondition();
        dialog.addCondition();
        QCOMPARE(RowTexts(dialog.conditions(), 0),
                 (QStringList{"", "Severity", "Equal", severity}));
        QCOMPARE(RowTexts(dialog.conditions(), 1),
                 (QStringList{"And", "Severity", "Equal", severity}));
        QVERIFY(dialog.andOrList()->isEnabled());

        ChooseField(dialog, QStringLiteral("Status"));
        QCOMPARE(Entries(dialog.conditionList()), (QStringList{"Equal", "Not Equal"}));
        QVERIFY(Entries(dialog.valueEditor()->list()).contains(QStringLiteral("Resolved")));
        dialog.andOrList()->setCurrentText(QStringLiteral("Or"));
        dialog.valueEditor()->list()->setCurrentText(QStringLiteral("Resolved"));
        dialog.apply();
        QCOMPARE(RowTexts(dialog.conditions(), 1),
                 (QStringList{"Or", "Status", "Equal", "Resolved"}));

        dialog.selectRow(0);
        QVERIFY(!dialog.andOrList()->isEnabled());
        QCOMPARE(dialog.andOrList()->currentText(), QString());
        ChooseField(dialog, QStringLiteral("Reported Date"));
        QCOMPARE(dialog.conditionList()->count(), 6);
        QCOMPARE(dialog.valueEditor()->dateBox()->date(), QDate::currentDate());
        dialog.valueEditor()->dateBox()->setDate(QDate(2004, 1, 21));
        dialog.conditionList()->setCurrentText(QStringLiteral("Larger Equal"));
        dialog.apply();
        QCOMPARE(RowTexts(dialog.conditions(), 0),
                 (QStringList{"", "Reported Date", "Larger Equal", "21,01,2004"}));
        FilterSets::Condition stored;
        lindor::IBugFilterSet* set = dialog.store().find(QStringLiteral("Open work"));
        QVERIFY(FilterSets::read(FilterSets::item(set, 0).get(), &stored));
        QCOMPARE(stored.field, QStringLiteral("ReportedDate"));
        QCOMPARE(stored.value.vt(), lindor::VT_DATE);

        // The text editor's "..." inserts the wildcards at the caret.
        ChooseField(dialog, QStringLiteral("Recreate Step"));
        QCOMPARE(Entries(dialog.conditionList()), (QStringList{"Equal", "Not Equal", "Include"}));
        QLineEdit* text = dialog.valueEditor()->textBox();
        QCOMPARE(text->text(), QString());
        text->setText(QStringLiteral("ab"));
        text->setCursorPosition(1);
        const QList<QAction*> wildcards = dialog.valueEditor()->wildcards()->menu()->actions();
        QCOMPARE(wildcards.at(0)->text(), QStringLiteral("Any Character"));
        QCOMPARE(wildcards.at(1)->text(), QStringLiteral("Any One Character"));
        wildcards.at(0)->trigger();
        wildcards.at(1)->trigger();
        QCOMPARE(text->text(), QStringLiteral("a%_b"));

        // Deleting the first condition leaves the next one first, without And/Or.
        dialog.selectRow(0);
        dialog.deleteCondition();
        QCOMPARE(dialog.conditions()->topLevelItemCount(), 1);
        QCOMPARE(RowTexts(dialog.conditions(), 0),
                 (QStringList{"", "Status", "Equal", "Resolved"}));
        QCOMPARE(FilterSets::count(set), 1);

        dialog.conditions()->clearSelection();
        dialog.apply();
        QCOMPARE(messages->last(), QStringLiteral("Please select an item!"));
    }

    void copyRenameAndDelete()
    {
        QVERIFY(SaveUserFilter(QStringLiteral("Done"), {kResolved}));
        FilterStore store = loggedInStore();
        QVERIFY(store.add(FilterSets::make(QStringLiteral("Later"))));
        FilterDialog dialog(context.get(), store, QString());
        dialog.selectFilter(QStringLiteral("Done"));

        ModalDialogs::whenShown<nimbra::SelectFilterDialog>([](nimbra::SelectFilterDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Select a filter"));
            QCOMPARE(d->list()->count(), 1);
            QCOMPARE(d->chosen(), QStringLiteral("Later"));
            d->accept();
        });
        dialog.copyTo();
        QCOMPARE(FilterSets::count(dialog.store().find(QStringLiteral("Later"))), 1);

        ModalDialogs::whenShown<nimbra::FilterNameDialog>([this](nimbra::FilterNameDialog* d) {
            QCOMPARE(d->name(), QStringLiteral("Done"));
            d->setName(QStringLiteral("Later"));
            d->accept();
            QCOMPARE(messages->last(), QStringLiteral("A filter named \"Later\" already exists!"));
            d->setName(QStringLiteral("Finished"));
            d->accept();
        });
        dialog.renameFilter();
        QCOMPARE(dialog.currentName(), QStringLiteral("Finished"));
        QVERIFY(dialog.store().find(QStringLiteral("Finished")) != nullptr);

        messages->answerNext(QMessageBox::Yes);
        dialog.deleteFilter();
        QCOMPARE(messages->last(), QStringLiteral("Do you really want to delete this filter?"));
        QVERIFY(dialog.store().find(QStringLiteral("Finished")) == nullptr);
        QCOMPARE(dialog.currentName(), QStringLiteral("My Bugs/Feature"));
        QCOMPARE(dialog.names()->findText(QStringLiteral("Finished")), -1);
        // The store handed in is a copy: the window's own store is untouched.
        QVERIFY(store.find(QStringLiteral("Done")) != nullptr);
    }

    void okSavesTheFilterFile()
    {
        QVERIFY(SaveUserFilter(QStringLiteral("Done"), {kResolved}));
        openWindow();
        ModalDialogs::whenShown<FilterDialog>([](FilterDialog* d) {
            d->selectFilter(QStringLiteral("Done"));
            d->addCondition();
            d->accept();
        });
        window->action(Command::SetFilters)->trigger();
        FilterStore reread;
        QString error;
        QCOMPARE(reread.load(&error), FilterStore::LoadResult::Loaded);
        QCOMPARE(FilterSets::count(reread.find(QStringLiteral("Done"))), 2);

        // A folder where the file goes: the save fails, the edits stay.
        QVERIFY(QFile::remove(FilterStore::filePath()));
        QVERIFY(QDir().mkdir(FilterStore::filePath()));
        ModalDialogs::whenShown<FilterDialog>([](FilterDialog* d) {
            d->selectFilter(QStringLiteral("Done"));
            d->addCondition();
            d->accept();
        });
        window->filters()->editFilters();
        QCOMPARE(messages->last(), QStringLiteral("Save filter.ser failed!"));
        QCOMPARE(FilterSets::count(window->filters()->store().find(QStringLiteral("Done"))), 3);
    }

    void selectFilterButtonAndMenu()
    {
        QVERIFY(SaveUserFilter(QStringLiteral("Done"), {kResolved}));
        openWindow();
        nimbra::BugListView* list = window->views()->bugs();
        QAction* button = window->action(Command::SelectFilter);
        QVERIFY(button->isEnabled() && !button->isChecked());
        QCOMPARE(list->bugModel()->rowCount(), 2);

        // Ann has no classification: her own view has no condition.
        button->trigger();
        QVERIFY(button->isChecked());
        QCOMPARE(nimbra::FilterSets::name(list->filterSet().get()),
                 QStringLiteral("My Bugs/Feature"));
        QCOMPARE(list->bugModel()->rowCount(), 2);
        button->trigger();
        QVERIFY(!button->isChecked() && !list->filterSet());

        QMenu* menu = window->findChild<QMenu*>(QStringLiteral("filterMenu"));
        window->filters()->fillMenu(menu);
        QStringList texts;
        for (QAction* entry : menu->actions())
            texts.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
        QCOMPARE(texts, (QStringList{"My Bugs/Feature", "Today's Bug/Feature", "Resolved",
                                     "Verified", "-", "Done"}));
        QCOMPARE(menu->defaultAction(), menu->actions().first());
        QCOMPARE(menu->actions().last()->data().toInt(), 5);
        menu->actions().last()->trigger();
        QCOMPARE(list->bugModel()->rowCount(), 1);
        QVERIFY(button->isChecked());
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("statusFilter"))->text(),
                 QStringLiteral("Filter: Done"));
        window->filters()->fillMenu(menu);
        QVERIFY(menu->actions().last()->isChecked());
        QVERIFY(!menu->actions().first()->isChecked());

        // A new activation opens the lists afresh, without a filter.
        QCOMPARE(window->context()->SetActiveProject(1, 1), lindor::S_OK);
        QVERIFY(!button->isChecked());
        QCOMPARE(window->filters()->store().count(), 5);
    }

private:
    FilterStore loggedInStore()
    {
        lindor::CreateObject("Lindor.ExeContext.1", context.put());
        FilterStore store;
        QString error;
        if (context->OpenAccessDB(database->path().toStdString()) != lindor::S_OK ||
            context->Login("ann", "pw") != lindor::S_OK ||
            context->SetActiveProject(1, 0) != lindor::S_OK ||
            !store.rebuild(context.get(), &error))
            qWarning("the store could not be built: %s", qPrintable(error));
        return store;
    }

    void openWindow()
    {
        window = std::make_unique<nimbra::MainWindow>();
        QVERIFY(window->openDatabase(database->path()));
        QCOMPARE(window->context()->Login("ann", "pw"), lindor::S_OK);
        QCOMPARE(window->context()->SetActiveProject(1, 0), lindor::S_OK);
        messages->clear();
    }

    lindor::ComPtr<lindor::IExeContext> context;
};

QTEST_MAIN(FilterDialogTest)
#include "tst_filterdialog.moc"
