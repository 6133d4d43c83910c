// Answers every message box while it lives and keeps the texts shown, so a
// test can assert them exactly. Questions are answered from a queue of
// answers, then with the default answer.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QStringList>

#include "widgets/messages.h"

namespace nimbra::test {

class MessageRecorder {
public:
    explicit MessageRecorder(QMessageBox::StandardButton defaultAnswer = QMessageBox::Yes);
    ~MessageRecorder();

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(QMessageBox::StandardButton answer) { answers_.append(answer); }

    const QStringList& texts() const { return texts_; }
    const QList<Messages::Kind>& kinds() const { return kinds_; }
    QString last() const { return texts_.isEmpty() ? QString() : texts_.last(); }
    void clear();

private:
    QMessageBox::StandardButton answer(const Messages::Shown& shown);

    QMessageBox::StandardButton defaultAnswer_;
    QList<QMessageBox::StandardButton> answers_;
    QStringList texts_;
    QList<Messages::Kind> kinds_;
};

}  // namespace nimbra::test
