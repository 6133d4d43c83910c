#include "client/filtercommands.h"

#include <QMenu>

#include "client/buglistview.h"
#include "client/bugtabview.h"
#include "client/clientoptions.h"
#include "client/filterdialog.h"
#include "client/filtersets.h"
#include "widgets/messages.h"

namespace nimbra {

FilterCommands::FilterCommands(lindor::IExeContext* context, BugTabView* views,
                               const ClientOptions& options, QWidget* window)
    : QObject(window), context_(context), views_(views), options_(options), window_(window)
{
}

void FilterCommands::rebuild()
{
    QString error;
    if (!store_.rebuild(context_, &error)) Messages::error(window_, error);
}

void FilterCommands::editFilters()
{
    FilterDialog dialog(context_, store_, options_.dateFormat(), window_);
    if (!dialog.isUsable() || dialog.exec() != QDialog::Accepted) return;
    QString error;
    if (!store_.copyFrom(dialog.store(), &error)) {
        Messages::error(window_, error);
        return;
    }
    if (store_.save(&error)) return;
    Messages::error(window_, error);
    Messages::error(window_, QStringLiteral("Save filter.ser failed!"));
}

void FilterCommands::toggle()
{
    if (activeListFiltered())
        apply(nullptr);
    else if (store_.count() > 0)
        apply(store_.at(0));
    else
        emit filterChanged();  // the button shows the list's state again
}

void FilterCommands::fillMenu(QMenu* menu)
{
    menu->clear();
    const QString active = activeListFiltered() ? activeFilterName() : QString();
    for (int i = 0; i < store_.count(); ++i) {
        if (i == store_.builtInCount() && i > 0) menu->addSeparator();
        lindor::IBugFilterSet* filter = store_.at(i);
        const QString name = FilterSets::name(filter);
        QAction* entry =
            menu->addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        entry->setData(i + 1);
        entry->setCheckable(true);
        entry->setChecked(!active.isEmpty() && name == active);
        // The menu lives as long as the store's entries it names.
        lindor::ComPtr<lindor::IBugFilterSet> held(filter);
        connect(entry, &QAction::triggered, this, [this, held] { apply(held.get()); });
        if (i == 0) menu->setDefaultAction(entry);
    }
}

void FilterCommands::apply(lindor::IBugFilterSet* filter)
{
    views_->activeList()->setFilterSet(filter);
    emit filterChanged();
}

QString FilterCommands::activeFilterName() const
{
    return FilterSets::name(views_->activeList()->filterSet().get());
}

bool FilterCommands::activeListFiltered() const
{
    return static_cast<bool>(views_->activeList()->filterSet());
}

}  // namespace nimbra
