// The ten status icons of the bug lists, in the order of their index.
#pragma once

#include <QIcon>

namespace nimbra {

class StatusIcons {
public:
    // The icon for an index from BugTexts::statusIconIndex; 0 for others.
    static QIcon icon(int index);
};

}  // namespace nimbra
