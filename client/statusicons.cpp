#include "client/statusicons.h"

#include <QStringList>
#include <QVector>

#include "client/bugtexts.h"

namespace nimbra {

QIcon StatusIcons::icon(int index)
{
    static const QVector<QIcon> icons = [] {
        const QStringList files = {
            QStringLiteral("0-active"),          QStringLiteral("1-bydesign"),
            QStringLiteral("2-cannotreproduce"), QStringLiteral("3-resolved"),
            QStringLiteral("4-inprocess"),       QStringLiteral("5-new"),
            QStringLiteral("6-postponed"),       QStringLiteral("7-verified"),
            QStringLiteral("8-willnotfix"),      QStringLiteral("9-waiting")};
        QVector<QIcon> loaded;
        for (const QString& file : files)
            loaded.append(QIcon(QStringLiteral(":/icons/status/%1.svg").arg(file)));
        return loaded;
    }();
    return icons.value(index >= 0 && index < BugTexts::kStatusIconCount ? index : 0);
}

}  // namespace nimbra
