// The user sheet: the wizard "Add User" or the sheet "Edit User", with the
// pages "General", "Detail information" and "Assign right". For the
// administrator only "General" is shown and his login name is fixed: his
// rights are never edited here (he holds every right once logged in).
#pragma once

#include <lindor/lindor.h>

#include "admin/pagesheet.h"

namespace nimbra {

class RightPage;
class UserDetailPage;
class UserGeneralPage;
struct UserFields;

class UserSheet : public PageSheet {
public:
    static const QString kHelpTopic;

    UserSheet(Mode mode, lindor::IExeContext* context, QWidget* parent);

    // Fills the pages from a stored user and his role.
    void setUser(const UserFields& fields, lindor::ComPtr<lindor::IUserRight> role);

    UserFields fields() const;
    lindor::IUserRight* role() const;

    UserGeneralPage* generalPage() const { return general_; }
    RightPage* rightPage() const { return rights_; }

private:
    UserGeneralPage* general_ = nullptr;
    UserDetailPage* detail_ = nullptr;
    RightPage* rights_ = nullptr;
};

}  // namespace nimbra
