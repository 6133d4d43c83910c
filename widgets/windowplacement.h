// A main window's placement as the settings keep it: "wpFlag", "wpShowCmd" and
// the normal (restored) rectangle "wpLeft", "wpTop", "wpRight", "wpBottom",
// right and bottom being exclusive.
#pragma once

#include <QRect>

class QWidget;

namespace nimbra {

class ProgramSettings;

class WindowPlacement {
public:
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;
    static constexpr int kShowDefault = 5;

    // The values stored, each with its default (0, 5, 100, 100, 500, 500).
    static WindowPlacement read(const ProgramSettings& settings);
    // The placement the window has now.
    static WindowPlacement of(const QWidget& window);

    void write(ProgramSettings& settings) const;

    // Gives the window its normal rectangle; a rectangle that is empty or lies
    // outside every screen falls back to the default one.
    void applyTo(QWidget& window) const;
    // Shows the window maximized or normally, as the show state says.
    void show(QWidget& window) const;

    int flag() const { return flag_; }
    int showCmd() const { return showCmd_; }
    QRect normalRect() const { return normal_; }

private:
    WindowPlacement() = default;
    static QRect defaultRect();

    int flag_ = 0;
    int showCmd_ = kShowDefault;
    QRect normal_ = defaultRect();
};

}  // namespace nimbra
