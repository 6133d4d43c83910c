// The sheet "Options" with the pages "General" and "Other"; OK stores both
// pages into the client's options and saves "Bug.cfg", Help (F1) opens the
// page about the options.
#pragma once

#include <QDialog>

class QTabWidget;

namespace nimbra {

class ClientOptions;
class OptionGeneralPage;
class OptionOtherPage;

class OptionSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kHelpPage = "Option.htm";

    // Reloads `options` from its file (a damaged file is shown) and fills
    // the pages from it.
    explicit OptionSheet(ClientOptions* options, QWidget* parent = nullptr);

    OptionGeneralPage* general() const { return general_; }
    OptionOtherPage* other() const { return other_; }
    QTabWidget* pages() const { return pages_; }

    // Stores the pages and saves; a file error is shown, and the sheet
    // closes with the options kept in memory.
    void accept() override;

private:
    ClientOptions* options_;
    QTabWidget* pages_ = nullptr;
    OptionGeneralPage* general_ = nullptr;
    OptionOtherPage* other_ = nullptr;
};

}  // namespace nimbra
