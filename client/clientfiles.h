// Where the client keeps its per-user files ("Bug.cfg", "filter.ser"):
// NIMBRA_HOME when set, else the user's configuration folder + "Nimbra".
// Both are written whole or not at all, readable by their owner only.
#pragma once

#include <QByteArray>
#include <QString>

namespace nimbra {

class ClientFiles {
public:
    enum class ReadResult { Read, Missing, Failed };

    static QString folder();
    static QString path(const QString& fileName);
    // Creates the folder (mode 0700) when missing; false when it cannot.
    static bool makeFolder(QString* error);

    // Reads the whole file; `error` names the file and the reason on failure.
    static ReadResult read(const QString& fileName, QByteArray* bytes, QString* error);
    // Writes a temporary file of mode 0600 beside the file and renames it
    // over the file only when every byte was written, so a full disk or a
    // crash leaves the old file whole (and one that was readable by others
    // becomes private).
    static bool write(const QString& fileName, const QByteArray& bytes, QString* error);
    // The text for a file that ends before all its items were read.
    static QString damagedText(const QString& fileName);
};

}  // namespace nimbra
