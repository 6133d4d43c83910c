// A sheet of pages as tabs, with "OK", "Cancel" and "Help" and no "Apply".
// "OK" leaves every page that has been shown, in turn; a page that refuses
// is brought to the front and the sheet stays open.
#pragma once

#include <QDialog>

class QTabWidget;

namespace nimbra {

class SheetPage;

class SheetDialog : public QDialog {
    Q_OBJECT
public:
    SheetDialog(const QString& title, const QString& helpTopic, QWidget* parent = nullptr);

    void addPage(SheetPage* page);
    void removePage(SheetPage* page);
    QTabWidget* tabs() const { return tabs_; }

    void accept() override;

private:
    void enterCurrentPage();

    QTabWidget* tabs_ = nullptr;
};

}  // namespace nimbra
