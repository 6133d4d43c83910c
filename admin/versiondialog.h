// The dialog "Add Version", for a new version and for changing one: name
// (at most 64 characters, may stay empty), release date and description
// (at most 1024).
#pragma once

#include <QDialog>

#include "admin/versionlist.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

namespace nimbra {

class VersionDialog : public QDialog {
    Q_OBJECT
public:
    // A new version is released today unless the administrator says otherwise.
    explicit VersionDialog(QWidget* parent = nullptr);

    void fillFrom(const VersionValues& values);
    VersionValues values() const;

private:
    QLineEdit* name_ = nullptr;
    QDateEdit* releaseDate_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    // The date shown first, kept to the millisecond while the day stays the same.
    double shownDate_ = 0.0;
};

}  // namespace nimbra
