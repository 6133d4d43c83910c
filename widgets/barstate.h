// The docking layout of a main window under "BarState": Qt's saved state plus
// the names of the bars it was saved with. A saved layout that names a bar the
// window no longer has is refused, and the window keeps its default layout.
#pragma once

class QMainWindow;

namespace nimbra {

class ProgramSettings;

class BarState {
public:
    static void save(const QMainWindow& window, ProgramSettings& settings);
    // True when a consistent saved layout was applied.
    static bool restore(QMainWindow& window, const ProgramSettings& settings);
};

}  // namespace nimbra
