#include "client/clientfiles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
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

ClientFiles::ReadResult ClientFiles::read(const QString& fileName, QByteArray* bytes,
                                          QString* error)
{
    QFile file(path(fileName));
    if (!file.exists()) return ReadResult::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString());
        return ReadResult::Failed;
    }
    *bytes = file.readAll();
    return ReadResult::Read;
}

bool ClientFiles::write(const QString& fileName, const QByteArray& bytes, QString* error)
{
    if (!makeFolder(error)) return false;
    // QSaveFile writes a temporary file in the same folder and renames it
    // over the target in commit(); dropped without commit, it removes it.
    // The explicit flush matters: commit() renames even when the last flush
    // of the buffer was cut short (a full disk), leaving a cut file.
    QSaveFile file(path(fileName));
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) &&
                         file.write(bytes) == bytes.size() && file.flush() && file.commit();
    if (!written) {
        *error = QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

QString ClientFiles::damagedText(const QString& fileName)
{
    return QStringLiteral("%1 is damaged: it ends before all its items were read.")
        .arg(path(fileName));
}

}  // namespace nimbra
