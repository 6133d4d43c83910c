#include "admin/userfields.h"

#include "admin/engineobject.h"

namespace nimbra {

namespace {

using Getter = lindor::HRESULT (lindor::IUser::*)(std::string*);
using Setter = lindor::HRESULT (lindor::IUser::*)(const std::string&);

struct Binding {
    QString UserFields::*field;
    Getter get;
    Setter put;
};

// Every field stored in the user, the confirmation excepted.
const Binding kBindings[] = {
    {&UserFields::loginName, &lindor::IUser::get_LoginName, &lindor::IUser::put_LoginName},
    {&UserFields::password, &lindor::IUser::get_Password, &lindor::IUser::put_Password},
    {&UserFields::userName, &lindor::IUser::get_UserName, &lindor::IUser::put_UserName},
    {&UserFields::description, &lindor::IUser::get_Description, &lindor::IUser::put_Description},
    {&UserFields::department, &lindor::IUser::get_Department, &lindor::IUser::put_Department},
    {&UserFields::position, &lindor::IUser::get_Position, &lindor::IUser::put_Position},
    {&UserFields::email, &lindor::IUser::get_EMail, &lindor::IUser::put_EMail},
    {&UserFields::address, &lindor::IUser::get_Address, &lindor::IUser::put_Address},
    {&UserFields::phone, &lindor::IUser::get_Phone, &lindor::IUser::put_Phone},
};

}  // namespace

const QString& UserFields::administratorLogin()
{
    static const QString login = QStringLiteral("Admin");
    return login;
}

UserFields UserFields::of(lindor::IUser* user)
{
    UserFields fields;
    for (const Binding& binding : kBindings) fields.*binding.field = EngineText(user, binding.get);
    fields.confirmation = fields.password;
    return fields;
}

void UserFields::writeTo(lindor::IUser* user) const
{
    for (const Binding& binding : kBindings)
        (user->*binding.put)((this->*binding.field).toStdString());
}

std::optional<UserFields::Problem> UserFields::firstPageProblem() const
{
    if (loginName.isEmpty())
        return Problem{QStringLiteral("Login Name cannot be empty!"), Field::LoginName};
    if (password.isEmpty())
        return Problem{QStringLiteral("Password cannot be empty!"), Field::Password};
    if (password != confirmation)
        return Problem{QStringLiteral("Password is not the same, please enter it again!"),
                       Field::Password, true};
    if (userName.isEmpty())
        return Problem{QStringLiteral("User name cannot be empty!"), Field::UserName};
    return std::nullopt;
}

}  // namespace nimbra
