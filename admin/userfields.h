// The fields of the user pages, as typed, and the checks the first page of
// the wizard runs before it lets the administrator go on.
#pragma once

#include <lindor/lindor.h>

#include <QString>

#include <optional>

namespace nimbra {

struct UserFields {
    enum class Field { LoginName, Password, UserName };

    struct Problem {
        QString message;
        Field focus;
        bool clearPasswords = false;
    };

    static const QString& administratorLogin();

    QString loginName;
    QString password;
    QString confirmation;
    QString userName;
    QString description;
    QString department;
    QString position;
    QString email;
    QString address;
    QString phone;

    // The stored user's fields; the password fills both password fields.
    static UserFields of(lindor::IUser* user);
    void writeTo(lindor::IUser* user) const;

    // The first failing check of the first page, in the order login name,
    // password, confirmation, user name; none when all pass.
    std::optional<Problem> firstPageProblem() const;
    bool isAdministrator() const { return loginName == administratorLogin(); }
};

}  // namespace nimbra
