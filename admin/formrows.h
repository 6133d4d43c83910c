// Rows of the forms in the administration program's pages and dialogs: a
// label with a mnemonic whose buddy is the input, and the input named for
// tests and screen readers.
#pragma once

#include <QString>

class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace nimbra {

// A one-line input of at most `maxLength` characters (0: no limit).
QLineEdit* AddLineRow(QFormLayout* form, const QString& label, const QString& objectName,
                      int maxLength);
// A masked one-line input.
QLineEdit* AddPasswordRow(QFormLayout* form, const QString& label, const QString& objectName,
                          int maxLength);
// A multi-line input of at most `maxLength` characters.
QPlainTextEdit* AddTextRow(QFormLayout* form, const QString& label, const QString& objectName,
                           int maxLength);
// Any input under a label.
void AddRow(QFormLayout* form, const QString& label, QWidget* input, const QString& objectName);

}  // namespace nimbra
