// The dialog "Note": a one-time hint with "Do not remind me next time.". The
// choice is kept in the settings under the message's decimal id.
#pragma once

#include <QDialog>

class QCheckBox;

namespace nimbra {

class ProgramSettings;

class NoteReminder : public QDialog {
    Q_OBJECT
public:
    NoteReminder(const QString& text, QWidget* parent = nullptr);

    // Shows the note modally unless the user has asked not to be reminded of
    // this message; writes the check box state on close. True when shown.
    static bool remind(QWidget* parent, ProgramSettings& settings, int messageId,
                       const QString& text);

    bool doNotRemind() const;

private:
    QCheckBox* doNotRemind_ = nullptr;
};

}  // namespace nimbra
