// The text of the engine's last failure on this thread, ready to show.
#pragma once

#include <QString>

class QWidget;

namespace nimbra {

class EngineError {
public:
    // The description the engine set for its caller; a fixed text when the
    // engine left none, so that a failure is never shown as an empty box.
    static QString text();
    // Shows text() in an error box.
    static void show(QWidget* parent);
};

}  // namespace nimbra
