// Hostile and unusual input at the engine's interfaces: names and values with
// quotes, percent signs, backslashes and line breaks are stored and compared
// literally; values longer than their columns are refused with a reason and
// leave nothing behind; files that are not intact databases fail cleanly.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "core/DateTime.h"
#include "db/Dialect.h"
#include "schema/CreateDB.h"
#include "support/ContextTestSupport.h"

namespace lindor {
namespace {

using test::LastCallerError;

const std::vector<std::string>& OddNames()
{
    static const std::vector<std::string> names = {
        "O'Hara",   "x' OR '1'='1", "50% off",     "back\\slash", "two\nlines",
        "quote\"d", "it''s",        "under_score", "tab\there",   std::string(255, 'n')};
    return names;
}

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        // The administrator gets a role with every right in project 1.
        test::AddRole(1, true);
        test::AddRight(1, 1, 1,
                       {"Add", "Read", "Delete", "EditDescription", "Add_Edit_Del_BugClass",
                        "EditProject", "DeleteProject"});
        test::ExecuteSql("UPDATE tUser SET UserRightID = 1 WHERE UserID = 1");
        context = test::OpenContext(path, "Admin");
        ASSERT_EQ(context->SetActiveProject(1, 0), S_OK);
    }

    ComPtr<IUser> NewUser(const std::string& login, const std::string& password)
    {
        ComPtr<IUser> user;
        EXPECT_EQ(CreateObjectForTest("User", user.put_void()), S_OK);
        user->put_LoginName(login);
        user->put_UserName(login);
        user->put_Password(password);
        return user;
    }

    static HRESULT CreateObjectForTest(const char* name, void** out)
    {
        const std::string external = ExternalClassName(name);
        const std::string iid = std::string("I") + name;
        return ClassRegistry::Create(external.c_str(), iid.c_str(), out);
    }

    ComPtr<IProject> NewProject(const std::string& name, const std::string& version)
    {
        ComPtr<IProject> project;
        EXPECT_EQ(CreateObjectForTest("Project", project.put_void()), S_OK);
        project->put_Name(name);
        ComPtr<IVersion> added;
        project->AddVersion(version, "", Now(), added.put());
        return project;
    }

    std::string path;
    ComPtr<CExeContext> context;
};

TEST_F(BadInputTest, LoginNamesAndPasswordsAreMatchedLiterally)
{
    ComPtr<IUserSet> users;
    ASSERT_EQ(context->get_AllUser(users.put()), S_OK);
    std::vector<std::int32_t> ids;
    for (const std::string& name : OddNames()) {
        ComPtr<IUser> user = NewUser(name, "p'w%\\\n" + name.substr(0, 10));
        ASSERT_EQ(users->Add(user.get()), S_OK) << LastCallerError().description;
        std::int32_t id = 0;
        user->get_ID(&id);
        ids.push_back(id);
    }
    for (std::size_t i = 0; i < OddNames().size(); ++i) {
        const std::string& name = OddNames()[i];
        ComPtr<CExeContext> other = test::OpenContext(path);
        ASSERT_EQ(other->Login(name, "p'w%\\\n" + name.substr(0, 10)), S_OK) << name;
        std::int32_t current = 0;
        other->get_CurUserID(&current);
        EXPECT_EQ(current, ids[i]) << name;
        EXPECT_EQ(other->Login(name, "p'w%\\\n"), E_FAIL) << "the password is compared whole";
    }
    ComPtr<CExeContext> other = test::OpenContext(path);
    EXPECT_EQ(other->Login("o'hara'", "x"), E_FAIL);
    EXPECT_EQ(other->Login("%", ""), E_FAIL) << "a percent sign is no wildcard";
}

TEST_F(BadInputTest, OverlongNamesAreRefusedAndNothingIsStored)
{
    ComPtr<IUserSet> users;
    ASSERT_EQ(context->get_AllUser(users.put()), S_OK);
    test::LogWatch log;
    ComPtr<IUser> user = NewUser(std::string(256, 'u'), "");
    EXPECT_EQ(users->Add(user.get()), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Add user failed");
    bool reasonLogged = false;
    for (const test::LogEntry& e : log.Entries())
        reasonLogged = reasonLogged || e.description.find("too small") != std::string::npos;
    EXPECT_TRUE(reasonLogged) << "the log says why";
    EXPECT_EQ(test::CountRows("SELECT * FROM tUser"), 1);

    ComPtr<IProjectSet> projects;
    ASSERT_EQ(context->get_ProjectSet(projects.put()), S_OK);
    EXPECT_EQ(projects->Add(NewProject(std::string(256, 'p'), "1.0").get()), E_FAIL);
    EXPECT_EQ(projects->Add(NewProject("fine", std::string(300, 'v')).get()), E_FAIL);
    EXPECT_EQ(test::CountRows("SELECT * FROM tProject"), 2) << "no project without its versions";
    EXPECT_EQ(test::CountRows("SELECT * FROM tVersion"), 4);

    ComPtr<IUser> missing = NewUser("someone", std::string(64, 'x'));
    EXPECT_EQ(users->Add(missing.get()), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Password is too long (at most 63 bytes).");
}

TEST_F(BadInputTest, ProjectVersionAndClassificationNamesStayLiteralThroughSynchronize)
{
    ComPtr<IProjectSet> projects;
    ASSERT_EQ(context->get_ProjectSet(projects.put()), S_OK);
    ComPtr<IClassificationSet> classes;
    {
        ComPtr<IProject> first;
        ASSERT_EQ(projects->get_Item(0, first.put()), S_OK);
        ASSERT_EQ(first->get_ClassificationSet(classes.put()), S_OK)
            << LastCallerError().description;
        ASSERT_EQ(classes->put_ExeContext(context.get()), S_OK);
    }
    int n = 0;
    for (const std::string& name : OddNames()) {
        ++n;
        ComPtr<IProject> project = NewProject(name, name);
        ASSERT_EQ(projects->Add(project.get()), S_OK) << LastCallerError().description;
        std::int32_t projectID = 0;
        project->get_ID(&projectID);
        ComPtr<IVersion> version;
        project->get_Version(0, version.put());
        std::int32_t versionID = 0;
        version->get_ID(&versionID);
        ComPtr<IClassification> classification;
        ASSERT_EQ(CreateObjectForTest("Classification", classification.put_void()), S_OK);
        classification->put_Name(name);
        ASSERT_EQ(classes->Add(classification.get()), S_OK) << LastCallerError().description;
        std::int32_t classID = 0;
        classification->get_ID(&classID);
        test::AddBug(1000 + n, versionID);
        test::ExecuteSql(
            Format("UPDATE tBugReport SET ReportedInPrjID = %d, ReportedInPrj = 'old', "
                   "ReportedInVersion = 'old', ClassID = %d, Classification = 'old' "
                   "WHERE BugID = %d",
                   projectID, classID, 1000 + n));
    }
    ASSERT_EQ(context->Synchronize(), S_OK) << LastCallerError().description;
    n = 0;
    for (const std::string& name : OddNames()) {
        ++n;
        const std::string where = Format("SELECT * FROM tBugReport WHERE BugID = %d", 1000 + n);
        EXPECT_EQ(test::ReadValue(where, "ReportedInPrj"), Variant::Text(name));
        EXPECT_EQ(test::ReadValue(where, "ReportedInVersion"), Variant::Text(name));
        EXPECT_EQ(test::ReadValue(where, "Classification"), Variant::Text(name));
    }
}

TEST_F(BadInputTest, FilterValuesMatchLiterally)
{
    int n = 0;
    for (const std::string& name : OddNames()) {
        test::AddBug(++n, 1);
        ComPtr<IBugSet> all;
        test::ExecuteSql("UPDATE tBugReport SET Description = " + db::QuoteText(name) +
                         " WHERE BugID = " + std::to_string(n));
    }
    test::AddBug(++n, 1);
    test::ExecuteSql("UPDATE tBugReport SET Description = '50 off' WHERE BugID = " +
                     std::to_string(n));
    n = 0;
    for (const std::string& name : OddNames()) {
        ++n;
        ComPtr<IBugFilter> condition;
        ASSERT_EQ(CreateObjectForTest("BugFilter", condition.put_void()), S_OK);
        condition->put_Field("Description");
        condition->put_Value(Variant::Text(name));
        ComPtr<IBugFilterSet> filter;
        ASSERT_EQ(CreateObjectForTest("BugFilterSet", filter.put_void()), S_OK);
        filter->Add(condition.get());
        ComPtr<IBugSet> bugs;
        ASSERT_EQ(context->OpenBugSet(eBug, filter.get(), bugs.put()), S_OK) << name;
        std::int32_t count = 0;
        bugs->get_Count(&count);
        EXPECT_EQ(count, 1) << name;
        ComPtr<IBug> bug;
        bugs->First();
        bugs->get_CurItem(bug.put());
        std::int32_t id = 0;
        if (bug) bug->get_ID(&id);
        EXPECT_EQ(id, n) << name;
    }
    ComPtr<IBugFilter> tooLong;
    ASSERT_EQ(CreateObjectForTest("BugFilter", tooLong.put_void()), S_OK);
    tooLong->put_Field("Description");
    tooLong->put_Value(Variant::Text(std::string(400, 'n')));
    ComPtr<IBugFilterSet> filter;
    ASSERT_EQ(CreateObjectForTest("BugFilterSet", filter.put_void()), S_OK);
    filter->Add(tooLong.get());
    ComPtr<IBugSet> bugs;
    ASSERT_EQ(context->OpenBugSet(eBug, filter.get(), bugs.put()), S_OK);
    std::int32_t count = -1;
    bugs->get_Count(&count);
    EXPECT_EQ(count, 0);
}

class DamagedFileTest : public ::testing::Test {
protected:
    HRESULT Open(const std::string& file)
    {
        ComPtr<CExeContext> context = MakeObject<CExeContext>();
        return context->OpenAccessDB(file);
    }
};

TEST_F(DamagedFileTest, FilesThatAreNotIntactDatabasesFailCleanly)
{
    const std::string folder = test::TestFolder();
    std::ofstream(folder + "notes.mdb") << std::string(4096, 'z');
    EXPECT_EQ(Open(folder + "notes.mdb"), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Open database " + folder + "notes.mdb failed");

    std::ofstream(folder + "empty.mdb");
    EXPECT_EQ(Open(folder + "empty.mdb"), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Open Database failed");

    const std::string good = folder + "good.mdb";
    ASSERT_TRUE(CreateDB(good));
    const std::string bytes = test::ReadWholeFile(good);
    for (std::size_t keep : {std::size_t{100}, bytes.size() / 4, bytes.size() / 2}) {
        const std::string cut = folder + "cut-" + std::to_string(keep) + ".mdb";
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, keep);
        const HRESULT hr = Open(cut);
        if (hr == S_OK) continue;  // the part kept may still hold tSystem
        EXPECT_FALSE(LastCallerError().description.empty()) << keep;
    }
    std::string damaged = bytes;
    for (std::size_t i = 4096; i < damaged.size(); i += 97)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);
    std::ofstream(folder + "damaged.mdb", std::ios::binary) << damaged;
    ComPtr<CExeContext> context = MakeObject<CExeContext>();
    if (context->OpenAccessDB(folder + "damaged.mdb") == S_OK) {
        // Whatever the damage reaches, each call reports instead of crashing.
        context->Login("Admin", "");
        ComPtr<IProjectSet> projects;
        context->get_ProjectSet(projects.put());
        ComPtr<IBugSet> bugs;
        context->OpenBugSet(eBug, nullptr, bugs.put());
    }
}

TEST_F(DamagedFileTest, AReadOnlyDatabaseOpensAndRefusesChangesCleanly)
{
    const std::string path = test::NewDatabase();
    chmod(path.c_str(), 0444);
    const bool immutable = geteuid() == 0 && test::SetImmutable(path, true);
    if (geteuid() == 0 && !immutable) GTEST_SKIP() << "the superuser writes any file here";
    {
        ComPtr<CExeContext> context = test::OpenContext(path, "Admin");
        ComPtr<IUserSet> users;
        ASSERT_EQ(context->get_AllUser(users.put()), S_OK);
        ComPtr<IUser> user;
        ASSERT_EQ(ClassRegistry::Create("Lindor.User.1", "IUser", user.put_void()), S_OK);
        user->put_LoginName("reader");
        user->put_UserName("reader");
        test::LogWatch log;
        EXPECT_EQ(users->Add(user.get()), E_FAIL);
        EXPECT_EQ(LastCallerError().description, "Add user failed");
        bool reason = false;
        for (const test::LogEntry& e : log.Entries())
            reason = reason || e.description.find("read-only") != std::string::npos;
        EXPECT_TRUE(reason) << "the log says the database is read-only";
        EXPECT_EQ(test::CountRows("SELECT * FROM tUser"), 1);
    }
    if (immutable) test::SetImmutable(path, false);
}

}  // namespace
}  // namespace lindor
