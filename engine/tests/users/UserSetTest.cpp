// Adding, removing and updating users through a user set, including two
// programs adding the same login names at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "db/Dialect.h"
#include "support/ContextTestSupport.h"
#include "users/CUser.h"
#include "users/CUserSet.h"
#include "users/CUserSysInfo.h"

namespace lindor {
namespace {

using test::CountRows;
using test::LastCallerError;
using test::LogWatch;
using test::NextID;

std::string ErrorText()
{
    return LastCallerError().description;
}

ComPtr<CUser> NewUser(const std::string& login, const std::string& password = "")
{
    ComPtr<CUser> user = MakeObject<CUser>();
    user->put_LoginName(login);
    user->put_UserName(login + " name");
    user->put_Password(password);
    return user;
}

std::int32_t Count(IUserSet* users)
{
    std::int32_t count = -1;
    users->get_Count(&count);
    return count;
}

long UsersNamed(const std::string& login)
{
    return CountRows("SELECT * FROM tUser WHERE LoginName = " + db::QuoteText(login));
}

// Every stored user, as the context hands them out to the administrator (the
// one who may change them all).
ComPtr<IUserSet> StoredUsers()
{
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    EXPECT_EQ(context->OpenAccessDB(db::DataSourceOf(db::ProcessConnectionString())), S_OK);
    EXPECT_EQ(context->Login("Admin", ""), S_OK);
    ComPtr<IUserSet> users;
    EXPECT_EQ(context->get_AllUser(users.put()), S_OK);
    return users;
}

bool CanLogIn(const std::string& login, const std::string& password)
{
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    context->OpenAccessDB(db::DataSourceOf(db::ProcessConnectionString()));
    return context->Login(login, password) == S_OK;
}

// ---- adding ------------------------------------------------------------------------------

TEST(UserSetAdd, TheFirstUserOfANewDatabaseGetsID2AndCanLogIn)
{
    test::NewDatabase();
    ComPtr<CUserSet> users = MakeObject<CUserSet>();
    ComPtr<CUser> user = NewUser("kate", "s3cret");
    user->put_EMail("kate@example.org");
    ASSERT_EQ(users->Add(user.get()), S_OK) << ErrorText();
    EXPECT_EQ(user->ID(), 2);
    EXPECT_EQ(Count(users.get()), 1);
    EXPECT_EQ(NextID("NextUserID"), 3);
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE UserID = 2 AND UserRightID = 0 AND "
                        "EMail = 'kate@example.org'"),
              1);
    EXPECT_TRUE(CanLogIn("kate", "s3cret"));
    EXPECT_FALSE(CanLogIn("kate", "S3CRET"));
}

TEST(UserSetAdd, ATakenLoginNameIsRefusedAndTheIdentifierIsSpent)
{
    test::NewDatabase();
    ComPtr<CUserSet> users = MakeObject<CUserSet>();
    ComPtr<CUser> user = NewUser("admin");
    LogWatch watch;
    EXPECT_EQ(users->Add(user.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Login Name(admin) is already exist!");
    EXPECT_TRUE(watch.Has(2, "CUserSet::RealAddUser", "Login Name(admin) is already exist!"));
    EXPECT_FALSE(watch.Has(0, "CUserSet::Add")) << "no second message";
    EXPECT_EQ(NextID("NextUserID"), 3);
    EXPECT_EQ(CountRows("SELECT * FROM tUser"), 1);
    EXPECT_EQ(Count(users.get()), 0);
    EXPECT_EQ(user->ID(), 0);
}

TEST(UserSetAdd, NamesWithQuotesAreMatchedLiterally)
{
    test::NewDatabase();
    ComPtr<CUserSet> users = MakeObject<CUserSet>();
    ASSERT_EQ(users->Add(NewUser("O'Hara").get()), S_OK) << ErrorText();
    EXPECT_EQ(users->Add(NewUser("O'Hara").get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Login Name(O'Hara) is already exist!");
    // Unquoted, this name would match every row and count as taken.
    ASSERT_EQ(users->Add(NewUser("x' OR '1'='1").get()), S_OK) << ErrorText();
    EXPECT_EQ(UsersNamed("O'Hara"), 1);
    EXPECT_EQ(UsersNamed("x' OR '1'='1"), 1);
    EXPECT_TRUE(CanLogIn("x' OR '1'='1", ""));
}

TEST(UserSetAdd, APasswordLongerThan63BytesIsRefusedBeforeAnythingIsWritten)
{
    test::NewDatabase();
    ComPtr<CUserSet> users = MakeObject<CUserSet>();
    LogWatch watch;
    EXPECT_EQ(users->Add(NewUser("liam", std::string(64, 'p')).get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Password is too long (at most 63 bytes).");
    EXPECT_TRUE(watch.Has(0, "CUserSet::Add", "Password is too long"));
    EXPECT_EQ(NextID("NextUserID"), 2);
    EXPECT_EQ(UsersNamed("liam"), 0);
    ASSERT_EQ(users->Add(NewUser("liam", std::string(63, 'p')).get()), S_OK);
    EXPECT_TRUE(CanLogIn("liam", std::string(63, 'p')));
}

TEST(UserSetAdd, ARefusedRowLeavesTheUserAndTheDatabaseAsTheyWere)
{
    test::NewDatabase();
    ComPtr<CUserSet> users = MakeObject<CUserSet>();
    ComPtr<CUser> nameless = NewUser("mia");
    nameless->put_UserName("");  // the user name is required
    LogWatch watch;
    EXPECT_EQ(users->Add(nameless.get()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Add user failed");
    EXPECT_TRUE(watch.Has(2, "CUserSet::ReadAddUser"));
    EXPECT_TRUE(watch.Has(0, "CUserSet::Add", "Add user failed"));
    EXPECT_EQ(nameless->ID(), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUser"), 1);
}

// Separate programs share nothing but the file, so only real processes can
// race each other; the contexts of one process share one database handle and
// are called one at a time, so they could never interleave a look-up and an
// insert. Each program tries every name at once; exactly one must get each.
// The file lock decides the interleaving, so this shows the guarantee under
// contention rather than forcing the one bad interleaving.
TEST(UserSetAdd, ProgramsAddingTheSameNamesAtOnceNeverBothSucceed)
{
    test::NewDatabase();
    constexpr int kPrograms = 4;
    constexpr int kNames = 16;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> programs;
    for (int p = 0; p < kPrograms; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(start[1]);
            char signal = 0;
            (void)!read(start[0], &signal, 1);  // returns when the parent closes its end
            ComPtr<CUserSet> users = MakeObject<CUserSet>();
            int added = 0;
            for (int n = 0; n < kNames; ++n)
                if (users->Add(NewUser("racer" + std::to_string(n)).get()) == S_OK) ++added;
            _exit(added);
        }
        programs.push_back(pid);
    }
    close(start[0]);
    close(start[1]);
    int added = 0;
    for (pid_t pid : programs) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        added += WEXITSTATUS(status);
    }
    EXPECT_EQ(added, kNames);
    for (int n = 0; n < kNames; ++n) EXPECT_EQ(UsersNamed("racer" + std::to_string(n)), 1) << n;
    EXPECT_EQ(NextID("NextUserID"), 2 + kPrograms * kNames) << "every attempt spent an identifier";
}

// ---- removing ----------------------------------------------------------------------------

TEST(UserSetRemove, TheAdministratorCannotBeDeleted)
{
    test::NewDatabase();
    ComPtr<IUserSet> users = StoredUsers();
    LogWatch watch;
    EXPECT_EQ(users->RemoveByID(1), E_FAIL);
    EXPECT_EQ(ErrorText(), "Cannot delete Admin");
    EXPECT_EQ(users->RemoveByIndex(0), E_FAIL);
    EXPECT_EQ(ErrorText(), "Cannot delete Admin");
    EXPECT_TRUE(watch.Has(0, "CUserSet::RemoveByID", "Cannot delete Admin"));
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE UserID = 1"), 1);
    EXPECT_EQ(Count(users.get()), 1);
}

TEST(UserSetRemove, TakesTheUsersSystemInformationAndAssignments)
{
    test::NewDatabase();
    test::AddUser(2, "noah");
    test::AddClassification(1, 1);
    test::AssignClassification(2, 1);
    test::AssignClassification(1, 1);
    test::InsertRow("tUserSystemInfo",
                    {{"UserSystemInfoID", Variant::I4(1)}, {"UserID", Variant::I4(2)}});
    ComPtr<IUserSet> users = StoredUsers();
    users->Append(MakeObject<CUser>().get());
    ASSERT_EQ(users->RemoveByID(2), S_OK) << ErrorText();
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE UserID = 2"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUserSystemInfo"), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification"), 1);
    EXPECT_EQ(Count(users.get()), 2);
}

TEST(UserSetRemove, AFailureRollsTheWholeRemovalBack)
{
    test::NewDatabase();
    test::AddUser(2, "noah");
    test::AddClassification(1, 1);
    test::AssignClassification(2, 1);
    test::InsertRow("tUserSystemInfo",
                    {{"UserSystemInfoID", Variant::I4(1)}, {"UserID", Variant::I4(2)}});
    test::RefuseDeletesFrom("tUser");
    ComPtr<IUserSet> users = StoredUsers();
    LogWatch watch;
    EXPECT_EQ(users->RemoveByID(2), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delete user failed!");
    EXPECT_TRUE(watch.Has(2, "CUserSet::RealRemove", "deleting is refused"));
    EXPECT_EQ(users->RemoveByIndex(1), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delete Role failed");
    EXPECT_TRUE(watch.Has(0, "CUserSet::RemoveByIndex", "Delete user failed"));
    EXPECT_EQ(CountRows("SELECT * FROM tUserSystemInfo"), 1);
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification"), 1);
    EXPECT_EQ(Count(users.get()), 2);
}

TEST(UserSetRemove, AnUnknownUserFails)
{
    test::NewDatabase();
    ComPtr<CUserSet> users = MakeObject<CUserSet>();
    LogWatch watch;
    EXPECT_EQ(users->RemoveByID(99), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delete user failed!");
    EXPECT_TRUE(watch.Has(2, "CUserSet::RealRemove", "User(ID=99) does not exist!"));
    EXPECT_EQ(users->RemoveByIndex(0), E_FAIL);
    EXPECT_TRUE(watch.Has(1, "CUserSet::RemoveByIndex"));
}

// ---- updating ----------------------------------------------------------------------------

TEST(UserSetUpdate, BeforeAnyItemFails)
{
    test::NewDatabase();
    ComPtr<IUserSet> users = StoredUsers();
    LogWatch watch;
    EXPECT_EQ(users->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "Update User failed");
    EXPECT_TRUE(watch.Has(0, "CUserSet::RealUpdate", "No current user, cannot update"));
    EXPECT_TRUE(watch.Has(0, "CUserSet::Update", "Update User failed"));
}

TEST(UserSetUpdate, WritesTheCurrentUser)
{
    test::NewDatabase();
    test::AddUser(2, "olivia");
    ComPtr<IUserSet> users = StoredUsers();
    ComPtr<IUser> olivia;
    ASSERT_EQ(users->get_Item(1, olivia.put()), S_OK);
    olivia->put_Phone("555");
    olivia->put_Password("pw");
    olivia->put_Department("");
    ASSERT_EQ(users->Update(), S_OK) << ErrorText();
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE UserID = 2 AND Phone = '555'"), 1);
    EXPECT_TRUE(CanLogIn("olivia", "pw"));
    EXPECT_EQ(CountRows("SELECT * FROM tUser WHERE Department IS NULL"), 2);
}

TEST(UserSetUpdate, RefusesAPasswordLongerThan63Bytes)
{
    test::NewDatabase();
    ComPtr<IUserSet> users = StoredUsers();
    ComPtr<IUser> admin;
    users->get_Item(0, admin.put());
    admin->put_Password(std::string(70, 'p'));
    EXPECT_EQ(users->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "Password is too long (at most 63 bytes).");
    EXPECT_TRUE(CanLogIn("Admin", ""));
}

TEST(UserSetUpdate, AUserDeletedMeanwhileFails)
{
    test::NewDatabase();
    test::AddUser(2, "pete");
    ComPtr<IUserSet> users = StoredUsers();
    ComPtr<IUser> pete;
    users->get_Item(1, pete.put());
    ASSERT_EQ(StoredUsers()->RemoveByID(2), S_OK);
    LogWatch watch;
    EXPECT_EQ(users->Update(), E_FAIL);
    EXPECT_TRUE(watch.Has(0, "CUserSet::RealUpdate", "User(ID=2) doesn't exist"));
    EXPECT_EQ(CountRows("SELECT * FROM tUser"), 1);
}

// ---- in memory ---------------------------------------------------------------------------

TEST(UserSetMemory, AppendAndDeleteWorkInMemoryOnly)
{
    test::NewDatabase();
    ComPtr<IUserSet> users = StoredUsers();
    ComPtr<IUser> admin;
    users->get_Item(0, admin.put());
    EXPECT_EQ(users->Append(admin.get()), S_OK);
    EXPECT_EQ(Count(users.get()), 2) << "Append makes no duplicate test";
    EXPECT_EQ(users->Append(nullptr), E_FAIL);
    EXPECT_EQ(users->DeleteByID(1), S_OK);
    EXPECT_EQ(Count(users.get()), 0);
    EXPECT_EQ(CountRows("SELECT * FROM tUser"), 1);
    LogWatch watch;
    EXPECT_EQ(users->DeleteByID(5), E_FAIL);
    EXPECT_EQ(ErrorText(), "Role(id=5) does not exist");
    EXPECT_TRUE(watch.Has(0, "CUserSet::RemoveByID", "Role(id=5) does not exist"));
    EXPECT_EQ(users->DeleteByIndex(0), E_FAIL);
    EXPECT_TRUE(watch.Has(1, "CUserSet::RemoveByInde"));
}

TEST(UserSetMemory, ItemOutsideTheSetFails)
{
    test::NewDatabase();
    ComPtr<IUserSet> users = StoredUsers();
    LogWatch watch;
    ComPtr<IUser> user;
    EXPECT_EQ(users->get_Item(1, user.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Some error has occured, please see err.log!");
    EXPECT_TRUE(watch.Has(1, "CRoleSet::get_Item"));
    EXPECT_EQ(users->get_Item(-1, user.put()), E_FAIL);
}

}  // namespace
}  // namespace lindor
