#include "widgets/barstate.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QSet>
#include <QStringList>
#include <QToolBar>

#include "widgets/programsettings.h"

namespace nimbra {

namespace {

const QString kState = QStringLiteral("BarState/State");
const QString kBars = QStringLiteral("BarState/Bars");
constexpr int kStateVersion = 1;

QStringList BarNames(const QMainWindow& window)
{
    QStringList names;
    for (const QToolBar* bar : window.findChildren<QToolBar*>()) names << bar->objectName();
    for (const QDockWidget* dock : window.findChildren<QDockWidget*>()) names << dock->objectName();
    return names;
}

}  // namespace

void BarState::save(const QMainWindow& window, ProgramSettings& settings)
{
    settings.writeBytes(kState, window.saveState(kStateVersion));
    settings.writeList(kBars, BarNames(window));
}

bool BarState::restore(QMainWindow& window, const ProgramSettings& settings)
{
    const QByteArray state = settings.readBytes(kState);
    const QStringList saved = settings.readList(kBars);
    if (state.isEmpty() || saved.isEmpty()) return false;
    const QStringList present = BarNames(window);
    const QSet<QString> existing(present.begin(), present.end());
    for (const QString& name : saved) {
        if (!existing.contains(name)) return false;
    }
    return window.restoreState(state, kStateVersion);
}

}  // namespace nimbra
