// The second page of the user sheet, "Detail information": department,
// position, e-mail, address and phone.
#pragma once

#include "admin/sheetpage.h"

class QLineEdit;

namespace nimbra {

struct UserFields;

class UserDetailPage : public SheetPage {
    Q_OBJECT
public:
    explicit UserDetailPage(QWidget* parent = nullptr);

    void fillFrom(const UserFields& fields);
    void readInto(UserFields* fields) const;

private:
    QLineEdit* department_ = nullptr;
    QLineEdit* position_ = nullptr;
    QLineEdit* email_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* phone_ = nullptr;
};

}  // namespace nimbra
