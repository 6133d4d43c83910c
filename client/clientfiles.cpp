#include "client/clientfiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace nimbra {

QString ClientFiles::folder()
{
    const QString home = qEnvironmentVariable("NIMBRA_HOME");
    if (!home.isEmpty()) return home;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Nimbra");
}

QString ClientFiles::path(const QString& fileName)
{
    return folder() + QLatin1Char('/') + fileName;
}

bool ClientFiles::makeFolder(QString* error)
{
    const QString where = folder();
    if (QDir(where).exists()) return true;
    if (!QDir().mkpath(where)) {
        *error = QStringLiteral("Cannot create the folder %1.").arg(where);
        return false;
    }
    QFile::setPermissions(where, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

}  // namespace nimbra
