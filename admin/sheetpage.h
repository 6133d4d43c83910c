// A page of a PageSheet. The same page serves in a wizard and in a sheet of
// tabs: enter() runs when it is shown for the first time, leave() when the
// administrator goes on from it ("Next", "Finish") or confirms the sheet
// ("OK"); a false result keeps him on the page.
#pragma once

#include <QWizardPage>

namespace nimbra {

class SheetPage : public QWizardPage {
    Q_OBJECT
public:
    explicit SheetPage(const QString& title, QWidget* parent = nullptr);

    virtual void enter() {}
    virtual bool leave() { return true; }
    // True while the page is part of a wizard rather than a sheet of tabs.
    bool inWizard() const { return wizard() != nullptr; }

    // Runs enter() once, however the page was reached.
    void enterOnce();
    bool wasEntered() const { return entered_; }

    void initializePage() override { enterOnce(); }
    bool validatePage() override { return leave(); }

private:
    bool entered_ = false;
};

}  // namespace nimbra
