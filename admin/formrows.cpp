#include "admin/formrows.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace nimbra {

void AddRow(QFormLayout* form, const QString& label, QWidget* input, const QString& objectName)
{
    input->setObjectName(objectName);
    auto* caption = new QLabel(label, form->parentWidget());
    caption->setBuddy(input);
    form->addRow(caption, input);
}

QLineEdit* AddLineRow(QFormLayout* form, const QString& label, const QString& objectName,
                      int maxLength)
{
    auto* input = new QLineEdit(form->parentWidget());
    if (maxLength > 0) input->setMaxLength(maxLength);
    AddRow(form, label, input, objectName);
    return input;
}

QLineEdit* AddPasswordRow(QFormLayout* form, const QString& label, const QString& objectName,
                          int maxLength)
{
    QLineEdit* input = AddLineRow(form, label, objectName, maxLength);
    input->setEchoMode(QLineEdit::Password);
    return input;
}

// QPlainTextEdit has no length limit of its own; text past the limit is cut
// as it is typed or pasted.
QPlainTextEdit* AddTextRow(QFormLayout* form, const QString& label, const QString& objectName,
                           int maxLength)
{
    auto* input = new QPlainTextEdit(form->parentWidget());
    input->setTabChangesFocus(true);
    QObject::connect(input, &QPlainTextEdit::textChanged, input, [input, maxLength] {
        const QString text = input->toPlainText();
        if (text.size() <= maxLength) return;
        QTextCursor cursor = input->textCursor();
        const int position = std::min(cursor.position(), maxLength);
        input->setPlainText(text.left(maxLength));
        cursor = input->textCursor();
        cursor.setPosition(position);
        input->setTextCursor(cursor);
    });
    AddRow(form, label, input, objectName);
    return input;
}

}  // namespace nimbra
