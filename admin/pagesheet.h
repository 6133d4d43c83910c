// A set of pages shown either as a wizard (the first page offers "Next",
// the last "Back" and "Finish") or as a sheet of tabs with "OK" and
// "Cancel". Both offer "Help" on one topic of the help pages.
#pragma once

#include <QPointer>
#include <QString>

class QDialog;
class QWidget;
class QWizard;

namespace nimbra {

class SheetDialog;
class SheetPage;

class PageSheet {
public:
    enum class Mode { Wizard, Sheet };

    PageSheet(Mode mode, const QString& title, const QString& helpTopic, QWidget* parent);
    virtual ~PageSheet();

    PageSheet(const PageSheet&) = delete;
    PageSheet& operator=(const PageSheet&) = delete;

    Mode mode() const { return mode_; }
    // The window; pages are made as its children.
    QDialog* dialog() const;

    // True on "Finish" or "OK".
    bool exec();

protected:
    void addPage(SheetPage* page);
    void removePage(SheetPage* page);

private:
    Mode mode_;
    QPointer<QWizard> wizard_;
    QPointer<SheetDialog> sheet_;
};

}  // namespace nimbra
