#include "client/sysinfoform.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "client/sysinfofields.h"

namespace nimbra {

SysInfoForm::SysInfoForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("sysInfoForm"));
    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setVerticalSpacing(4);
    for (const SysInfoField& field : kSysInfoFields) {
        auto* value = new QLineEdit(this);
        value->setReadOnly(true);
        value->setObjectName(QStringLiteral("sysinfo ") + QString::fromLatin1(field.label));
        fields_.append(value);
        layout->addRow(QString::fromLatin1(field.label) + QLatin1Char(':'), value);
    }
}

lindor::ComPtr<lindor::IUserSysInfo> SysInfoForm::reporterInfo(lindor::IExeContext* context,
                                                               lindor::IBug* bug)
{
    std::int32_t reporter = 0;
    lindor::ComPtr<lindor::IUserSet> users;
    if (context == nullptr || bug == nullptr || bug->get_ReportedByID(&reporter) != lindor::S_OK ||
        reporter == 0 || context->get_AllUser(users.put()) != lindor::S_OK || !users)
        return nullptr;
    std::int32_t count = 0;
    users->get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IUser> user;
        std::int32_t id = 0;
        if (users->get_Item(i, user.put()) != lindor::S_OK || !user) continue;
        user->get_ID(&id);
        if (id != reporter) continue;
        lindor::ComPtr<lindor::IUserSysInfo> info;
        user->get_SysInfo(info.put());
        return info;
    }
    return nullptr;
}

void SysInfoForm::showReporterOf(lindor::IExeContext* context, lindor::IBug* bug)
{
    const lindor::ComPtr<lindor::IUserSysInfo> info = reporterInfo(context, bug);
    for (int i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(SysInfoText(info.get(), kSysInfoFields[i]));
        fields_[i]->setCursorPosition(0);
    }
}

QString SysInfoForm::fieldText(int index) const
{
    return index >= 0 && index < fields_.size() ? fields_[index]->text() : QString();
}

}  // namespace nimbra
