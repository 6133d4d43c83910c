// Every message box of the programs goes through this class, so that a test can
// read the exact text shown and answer it without a window blocking the run.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace nimbra {

class Messages {
public:
    enum class Kind { Information, Warning, Error, Question, WarningQuestion };

    struct Shown {
        Kind kind;
        QString text;
    };

    // Returns the button that answers the box; installed by tests.
    using Interceptor = std::function<QMessageBox::StandardButton(const Shown&)>;

    static void information(QWidget* parent, const QString& text);
    static void warning(QWidget* parent, const QString& text);
    static void error(QWidget* parent, const QString& text);
    // Yes and No, No being the default; true when the answer is Yes.
    static bool askYesNo(QWidget* parent, const QString& text);
    // The same under the warning icon, for a step that cannot be undone.
    static bool askYesNoWarning(QWidget* parent, const QString& text);
    // True for the kinds answered with Yes or No.
    static bool isQuestion(Kind kind)
    {
        return kind == Kind::Question || kind == Kind::WarningQuestion;
    }

    // An empty interceptor shows real message boxes again.
    static void setInterceptor(Interceptor interceptor);

private:
    static QMessageBox::StandardButton show(QWidget* parent, Kind kind, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);
};

}  // namespace nimbra
