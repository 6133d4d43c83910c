// The bug editor: a modal sheet of six pages ("General", "Report", "Recreate
// Step", "Workaround", "Resolution", "Attachment") over one engine bug, new
// or stored. On OK it checks the General page, writes the pages into the
// bug and hands it to the store step its caller gave; the sheet closes only
// when that step succeeds, so a refused store loses none of the user's edits.
#pragma once

#include <lindor/lindor.h>

#include <QDialog>

#include <functional>

#include "client/bugsheetsubject.h"

class QDialogButtonBox;
class QTabWidget;

namespace nimbra {

class AttachmentPage;
class GeneralPage;
class PendingAttachments;
class ReportPage;

class BugSheet : public QDialog {
    Q_OBJECT
public:
    enum class Mode { New = 0, Edit = 1 };
    // Runs on OK after the pages were written into the bug; false keeps the
    // sheet open (the step has shown why).
    using Store = std::function<bool(BugSheet& sheet)>;

    static constexpr int kPageCount = 6;
    static constexpr int kAttachmentPage = 5;

    // With no bug a new one is made. Titled "New" for a new report, and for
    // an edit "Edit Bug" or "Edit Feature" after the list it came from.
    BugSheet(lindor::IExeContext* context, lindor::IBug* bug, Mode mode, lindor::eBugType listType,
             const QString& dateFormat, QWidget* parent = nullptr);
    ~BugSheet() override;

    // Fills every page; false after showing an engine failure.
    bool load();
    // Shows `bug` (the stored bug read again) in place of what was edited.
    bool reload(lindor::IBug* bug);
    void setStore(Store store) { store_ = std::move(store); }

    lindor::IBug* bug() const { return bug_.get(); }
    Mode mode() const { return mode_; }
    const PendingAttachments& pendingAttachments() const;

    QTabWidget* tabs() const { return tabs_; }
    GeneralPage* general() const { return general_; }
    // 0 "Report" to 3 "Resolution".
    ReportPage* textPage(int index) const { return texts_.value(index); }
    AttachmentPage* attachments() const { return attachments_; }
    QDialogButtonBox* buttons() const { return buttons_; }

    void accept() override;
    // Opens the editor's help page.
    void showHelp();

private:
    void build();
    bool fillPages();
    bool generalIsComplete();
    bool writePages();
    void leavePage(int index);

    lindor::ComPtr<lindor::IExeContext> context_;
    lindor::ComPtr<lindor::IBug> bug_;
    Mode mode_;
    QString dateFormat_;
    Store store_;
    int currentPage_ = 0;

    QTabWidget* tabs_ = nullptr;
    GeneralPage* general_ = nullptr;
    QList<ReportPage*> texts_;
    AttachmentPage* attachments_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace nimbra
