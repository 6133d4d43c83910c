#include "widgets/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "widgets/programsettings.h"

namespace nimbra {

namespace {

const QString kFlag = QStringLiteral("wpFlag");
const QString kShowCmd = QStringLiteral("wpShowCmd");
const QString kLeft = QStringLiteral("wpLeft");
const QString kTop = QStringLiteral("wpTop");
const QString kRight = QStringLiteral("wpRight");
const QString kBottom = QStringLiteral("wpBottom");

bool OnSomeScreen(const QRect& rect)
{
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(rect)) return true;
    }
    return screens.isEmpty();
}

}  // namespace

QRect WindowPlacement::defaultRect()
{
    return QRect(QPoint(100, 100), QPoint(499, 499));
}

WindowPlacement WindowPlacement::read(const ProgramSettings& settings)
{
    WindowPlacement placement;
    placement.flag_ = settings.readInt(kFlag, 0);
    placement.showCmd_ = settings.readInt(kShowCmd, kShowDefault);
    const int left = settings.readInt(kLeft, 100);
    const int top = settings.readInt(kTop, 100);
    const int right = settings.readInt(kRight, 500);
    const int bottom = settings.readInt(kBottom, 500);
    placement.normal_ = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return placement;
}

WindowPlacement WindowPlacement::of(const QWidget& window)
{
    WindowPlacement placement;
    if (window.isMaximized())
        placement.showCmd_ = kShowMaximized;
    else if (window.isMinimized())
        placement.showCmd_ = kShowMinimized;
    else
        placement.showCmd_ = kShowNormal;
    const QRect normal = window.normalGeometry();
    placement.normal_ = normal.isValid() ? normal : window.geometry();
    return placement;
}

void WindowPlacement::write(ProgramSettings& settings) const
{
    settings.writeInt(kFlag, flag_);
    settings.writeInt(kShowCmd, showCmd_);
    settings.writeInt(kLeft, normal_.left());
    settings.writeInt(kTop, normal_.top());
    settings.writeInt(kRight, normal_.right() + 1);
    settings.writeInt(kBottom, normal_.bottom() + 1);
}

void WindowPlacement::applyTo(QWidget& window) const
{
    const bool usable = normal_.isValid() && OnSomeScreen(normal_);
    window.setGeometry(usable ? normal_ : defaultRect());
}

void WindowPlacement::show(QWidget& window) const
{
    if (showCmd_ == kShowMaximized)
        window.showMaximized();
    else
        window.show();
}

}  // namespace nimbra
