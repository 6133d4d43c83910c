#include "widgets/messages.h"

#include <QApplication>

namespace nimbra {

namespace {

Messages::Interceptor& CurrentInterceptor()
{
    static Messages::Interceptor interceptor;
    return interceptor;
}

QMessageBox::Icon IconOf(Messages::Kind kind)
{
    switch (kind) {
        case Messages::Kind::Information:
            return QMessageBox::Information;
        case Messages::Kind::Warning:
        case Messages::Kind::WarningQuestion:
            return QMessageBox::Warning;
        case Messages::Kind::Error:
            return QMessageBox::Critical;
        case Messages::Kind::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void Messages::information(QWidget* parent, const QString& text)
{
    show(parent, Kind::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void Messages::warning(QWidget* parent, const QString& text)
{
    show(parent, Kind::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void Messages::error(QWidget* parent, const QString& text)
{
    show(parent, Kind::Error, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool Messages::askYesNo(QWidget* parent, const QString& text)
{
    return show(parent, Kind::Question, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

bool Messages::askYesNoWarning(QWidget* parent, const QString& text)
{
    return show(parent, Kind::WarningQuestion, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void Messages::setInterceptor(Interceptor interceptor)
{
    CurrentInterceptor() = std::move(interceptor);
}

QMessageBox::StandardButton Messages::show(QWidget* parent, Kind kind, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    if (CurrentInterceptor()) return CurrentInterceptor()(Shown{kind, text});
    QMessageBox box(IconOf(kind), QApplication::applicationDisplayName(), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setObjectName(QStringLiteral("messageBox"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace nimbra
