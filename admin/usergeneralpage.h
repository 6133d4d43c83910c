// The first page of the user sheet, "General": login name, password twice,
// user name and description. In the wizard "Next" runs the checks of
// UserFields; in the sheet nothing is checked.
#pragma once

#include "admin/sheetpage.h"

class QLineEdit;

namespace nimbra {

struct UserFields;

class UserGeneralPage : public SheetPage {
    Q_OBJECT
public:
    explicit UserGeneralPage(QWidget* parent = nullptr);

    void fillFrom(const UserFields& fields);
    void readInto(UserFields* fields) const;
    // The administrator's login name cannot be changed.
    void fixLoginName();

    bool leave() override;

private:
    QLineEdit* loginName_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* confirmation_ = nullptr;
    QLineEdit* userName_ = nullptr;
    QLineEdit* description_ = nullptr;
};

}  // namespace nimbra
