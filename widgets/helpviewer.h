// The help pages: HTML files in the folder "help" beside the program (the
// build tree) or in share/nimbra/help of the installation, shown in one help
// window per program.
#pragma once

#include <QString>

class QWidget;

namespace nimbra {

class HelpViewer {
public:
    // The help folder, or empty when neither place holds the start page.
    static QString folder();
    // Shows `topic` (a path inside the help folder; the start page when
    // empty), or "Help File NOT Found!" when it is missing. True when shown.
    static bool open(QWidget* parent, const QString& topic = QString());
};

}  // namespace nimbra
