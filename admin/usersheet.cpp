#include "admin/usersheet.h"

#include <QDialog>

#include "admin/rightpage.h"
#include "admin/userdetailpage.h"
#include "admin/userfields.h"
#include "admin/usergeneralpage.h"

namespace nimbra {

const QString UserSheet::kHelpTopic = QStringLiteral("Admin_User_Add.htm");

UserSheet::UserSheet(Mode mode, lindor::IExeContext* context, QWidget* parent)
    : PageSheet(mode, mode == Mode::Wizard ? QObject::tr("Add User") : QObject::tr("Edit User"),
                kHelpTopic, parent)
{
    dialog()->setObjectName(mode == Mode::Wizard ? QStringLiteral("addUserSheet")
                                                 : QStringLiteral("editUserSheet"));
    general_ = new UserGeneralPage(dialog());
    detail_ = new UserDetailPage(dialog());
    rights_ = new RightPage(context, dialog());
    addPage(general_);
    addPage(detail_);
    addPage(rights_);
}

void UserSheet::setUser(const UserFields& fields, lindor::ComPtr<lindor::IUserRight> role)
{
    general_->fillFrom(fields);
    detail_->fillFrom(fields);
    if (!fields.isAdministrator()) {
        rights_->setRole(std::move(role));
        return;
    }
    removePage(detail_);
    removePage(rights_);
    general_->fixLoginName();
}

UserFields UserSheet::fields() const
{
    UserFields fields;
    general_->readInto(&fields);
    detail_->readInto(&fields);
    return fields;
}

lindor::IUserRight* UserSheet::role() const
{
    return rights_->role();
}

}  // namespace nimbra
