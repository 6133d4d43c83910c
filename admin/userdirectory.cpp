#include "admin/userdirectory.h"

#include "admin/userfields.h"

namespace nimbra {

bool UserDirectory::list(QList<UserRow>* rows) const
{
    rows->clear();
    const auto administration = admin();
    lindor::ComPtr<lindor::IUserSet> users;
    if (!administration || administration->get_UserSet(users.put()) != lindor::S_OK || !users)
        return false;
    const int count = EngineNumber(users.get(), &lindor::IUserSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IUser> user;
        if (users->get_Item(i, user.put()) != lindor::S_OK || !user) return false;
        rows->append(rowOf(user.get()));
    }
    return true;
}

bool UserDirectory::remove(int id) const
{
    lindor::ComPtr<lindor::IUserSet> users;
    return context_->get_AllUser(users.put()) == lindor::S_OK && users &&
           users->RemoveByID(id) == lindor::S_OK;
}

bool UserDirectory::add(const UserFields& fields, int* id) const
{
    *id = 0;
    const auto administration = admin();
    const auto user = CreateEngineObject<lindor::IUser>("Lindor.User.1");
    lindor::ComPtr<lindor::IUserSet> users;
    if (!administration || !user || administration->get_UserSet(users.put()) != lindor::S_OK ||
        !users)
        return false;
    fields.writeTo(user.get());
    if (users->Add(user.get()) != lindor::S_OK) return false;
    *id = EngineNumber(user.get(), &lindor::IUser::get_ID);
    return true;
}

bool UserDirectory::assignRole(int id, lindor::IUserRight* role) const
{
    const auto administration = admin();
    return administration && administration->SetUserRight(id, role) == lindor::S_OK;
}

bool UserDirectory::find(int id, Found* found) const
{
    lindor::ComPtr<lindor::IUserSet> users;
    if (context_->get_AllUser(users.put()) != lindor::S_OK) users.reset();
    return FindByID(users, id, found);
}

bool UserDirectory::update(const Found& found, const UserFields& fields) const
{
    fields.writeTo(found.item.get());
    return found.set->Update() == lindor::S_OK;
}

UserRow UserDirectory::rowOf(lindor::IUser* user)
{
    return {EngineNumber(user, &lindor::IUser::get_ID),
            EngineText(user, &lindor::IUser::get_LoginName),
            EngineText(user, &lindor::IUser::get_UserName),
            EngineText(user, &lindor::IUser::get_Description)};
}

// Null, with the engine's reason logged, unless the administrator is logged in.
lindor::ComPtr<lindor::IAdmin> UserDirectory::admin() const
{
    lindor::ComPtr<lindor::IAdmin> administration;
    if (context_->get_Admin(administration.put()) != lindor::S_OK) administration.reset();
    return administration;
}

}  // namespace nimbra
