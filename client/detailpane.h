// The docking pane "Detail Infomation": seven read-only tabs on the bug that
// is current in the active list.
#pragma once

#include <lindor/lindor.h>

#include <QDockWidget>

class QTabWidget;

namespace nimbra {

class AttachmentForm;
class GeneralForm;
class ReportForm;
class SysInfoForm;

class DetailPane : public QDockWidget {
    Q_OBJECT
public:
    explicit DetailPane(QWidget* parent = nullptr);

    // Null empties every tab.
    void showBug(lindor::IExeContext* context, lindor::IBug* bug, const QString& dateFormat);

    QTabWidget* tabs() const { return tabs_; }
    GeneralForm* general() const { return general_; }
    // textIndex 1 to 4.
    ReportForm* textForm(int textIndex) const;
    AttachmentForm* attachments() const { return attachments_; }
    SysInfoForm* sysInfo() const { return sysInfo_; }

private:
    QTabWidget* tabs_ = nullptr;
    GeneralForm* general_ = nullptr;
    QList<ReportForm*> texts_;
    AttachmentForm* attachments_ = nullptr;
    SysInfoForm* sysInfo_ = nullptr;
};

}  // namespace nimbra
