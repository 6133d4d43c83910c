// The items of the rights tree: three groups of rights, each item naming
// the flag its check box sets. The fourth group, "Available Status", is
// built from the database's status names.
#pragma once

#include <QList>
#include <QString>

#include "roles/rightflags.h"

namespace nimbra {

struct RightItem {
    QString label;
    roles::RightFlag flag;
};

struct RightGroup {
    QString label;
    QList<RightItem> items;
};

class RightItems {
public:
    static const QList<RightGroup>& groups();
    static QString statusGroupLabel() { return QStringLiteral("Available Status"); }
};

}  // namespace nimbra
