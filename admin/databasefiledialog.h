// The file dialogs for database files: Qt's own dialog, filtered to
// "Nimbra database (*.mdb)", the extension added when none is typed.
#pragma once

#include <QString>

class QWidget;

namespace nimbra {

class DatabaseFileDialog {
public:
    // An existing file to open; empty when cancelled. The dialog starts in
    // `folder`, or where the last dialog was left when it is empty.
    static QString askOpen(QWidget* parent, const QString& folder);
    // A path for a new database; empty when cancelled. An existing file is
    // not refused here: the caller says so.
    static QString askNew(QWidget* parent);
};

}  // namespace nimbra
