// The "System Infomation" tab of the detail pane: the computer description of
// the current bug's reporter.
#pragma once

#include <lindor/lindor.h>

#include <QWidget>

class QLineEdit;

namespace nimbra {

class SysInfoForm : public QWidget {
    Q_OBJECT
public:
    explicit SysInfoForm(QWidget* parent = nullptr);

    // Null context or bug, or a reporter without a description, empties it.
    void showReporterOf(lindor::IExeContext* context, lindor::IBug* bug);
    QString fieldText(int index) const;

private:
    static lindor::ComPtr<lindor::IUserSysInfo> reporterInfo(lindor::IExeContext* context,
                                                             lindor::IBug* bug);
    QList<QLineEdit*> fields_;
};

}  // namespace nimbra
