// The help pages: HTML files in the help folder beside the program (the build
// tree) or in share/nimbra/help of the installation, shown in a help window.
#pragma once

#include <QString>

class QWidget;

namespace nimbra {

class HelpViewer {
public:
    // The folder that holds the pages, or empty when there is none.
    static QString folder();
    // Opens `page` (the start page when empty); shows "Help File NOT Found!"
    // when the page is missing. True when a page was shown.
    static bool open(QWidget* parent, const QString& page = QString());
};

}  // namespace nimbra
