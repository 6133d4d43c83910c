// The files attached to a bug as the client lists them, and finding one of
// them again by its number.
#pragma once

#include <lindor/lindor.h>

#include <QIcon>
#include <QList>
#include <QString>

namespace nimbra {

struct AttachedFile {
    int id = 0;  // 0 for a file not stored yet
    QString name;
    qint64 size = 0;
    double date = 0.0;  // the engine's date of the file's last change
};

class AttachedFiles {
public:
    // The files of a set, in its order; a file that cannot be read is left out.
    static QList<AttachedFile> of(lindor::IFileSet* files);
    // The file of the set with that number, or null.
    static lindor::ComPtr<lindor::IFile> find(lindor::IFileSet* files, int id);
    // The desktop's icon for a file of that name.
    static QIcon iconFor(const QString& fileName);
};

}  // namespace nimbra
