// One of the four text tabs of the detail pane ("Report", "RecreateStep",
// "Workaround", "Resolution"): the bug's rich text, shown formatted.
#pragma once

#include <lindor/lindor.h>

#include <QWidget>

class QTextBrowser;

namespace nimbra {

class ReportForm : public QWidget {
    Q_OBJECT
public:
    // textIndex 1 Report, 2 RecreateStep, 3 Workaround, 4 Resolution.
    ReportForm(int textIndex, QWidget* parent = nullptr);

    // Null empties the tab.
    void showBug(lindor::IBug* bug);
    QTextBrowser* browser() const { return browser_; }

private:
    void showRtf(const std::string& rtf);

    int textIndex_;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace nimbra
