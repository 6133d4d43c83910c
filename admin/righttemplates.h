// The ready-made rights of "Select Template": which flags a template sets
// (every other flag is cleared) and the statuses it lets the user set.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

#include "admin/rightflags.h"

namespace nimbra {

struct RightTemplate {
    QString name;
    std::vector<RightFlag> flags;
    QStringList statuses;
};

class RightTemplates {
public:
    // "All", "None", "ReadOnly", "QA Person", "Developer", "Manager".
    static const QList<RightTemplate>& all();
    // The template of that name, or null.
    static const RightTemplate* find(const QString& name);
};

}  // namespace nimbra
