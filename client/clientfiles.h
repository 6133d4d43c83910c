// Where the client keeps its per-user files ("Bug.cfg", "filter.ser"):
// NIMBRA_HOME when set, else the user's configuration folder + "Nimbra".
#pragma once

#include <QString>

namespace nimbra {

class ClientFiles {
public:
    static QString folder();
    static QString path(const QString& fileName);
    // Creates the folder (mode 0700) when missing; false when it cannot.
    static bool makeFolder(QString* error);
};

}  // namespace nimbra
