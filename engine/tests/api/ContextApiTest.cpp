// An outside program's walk through the context, users and projects: only
// the public header, a database made by Admin.NewMDB, and the sqlite3 shell
// to put in the rows (bugs, attachments, classifications, roles) that the
// engine members under test do not write themselves, and to count rows.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using lindor::apitest::ErrorText;

using lindor::ComPtr;
using lindor::E_FAIL;
using lindor::HRESULT;
using lindor::S_OK;

// Records every event of the contexts it is subscribed to. It lives on the
// test's stack, so counting references only keeps the interface contract.
class Recorder final : public lindor::IExeContextEvents {
public:
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override { return --references_; }
    HRESULT QueryInterface(const char* iid, void** out) override
    {
        if (out == nullptr) return E_FAIL;
        *out = nullptr;
        if (std::string(iid) != IID && std::string(iid) != lindor::IUnknown::IID) return E_FAIL;
        *out = this;
        AddRef();
        return S_OK;
    }
    HRESULT OnLogin(std::int32_t ok, const std::string& login, const std::string& psw) override
    {
        events.push_back("OnLogin(" + std::to_string(ok) + "," + login + "," + psw + ")");
        return S_OK;
    }
    HRESULT OnActiveProject(std::int32_t ok, std::int32_t project, std::int32_t version) override
    {
        events.push_back("OnActiveProject(" + std::to_string(ok) + "," + std::to_string(project) +
                         "," + std::to_string(version) + ")");
        return S_OK;
    }

    std::vector<std::string> events;

private:
    std::uint32_t references_ = 0;
};

class MustShow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("LINDOR_LIBRARY", LINDOR_LIBRARY_PATH, 0);
        const char* tmp = std::getenv("TMPDIR");
        folder_ = std::filesystem::path(tmp != nullptr ? tmp : "/tmp") / "lindor-api" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        path_ = lindor::apitest::NewTeamDataSource(folder_);
        ComPtr<lindor::IAdmin> admin;
        ASSERT_EQ(lindor::CreateObject("Lindor.Admin.1", admin.put()), S_OK);
        ASSERT_EQ(admin->NewMDB(path_), S_OK) << ErrorText();
        ASSERT_EQ(lindor::CreateObject("Lindor.ExeContext.1", context_.put()), S_OK);
        std::uint32_t cookie = 0;
        ASSERT_EQ(context_->Advise(&recorder_, &cookie), S_OK);
    }

    // Runs SQL with the sqlite3 shell on the database; returns its output.
    std::string Sql(const std::string& statements) const
    {
        return lindor::apitest::RunSql(folder_, path_, statements);
    }
    long Count(const std::string& where) const
    {
        return std::stol(Sql("SELECT COUNT(*) FROM " + where + ";"));
    }

    void OpenAsAdministrator()
    {
        ASSERT_EQ(context_->OpenAccessDB(path_), S_OK) << ErrorText();
        ASSERT_EQ(context_->Login("ADMIN", ""), S_OK) << ErrorText();
    }

    ComPtr<lindor::IProjectSet> Projects()
    {
        ComPtr<lindor::IProjectSet> projects;
        EXPECT_EQ(context_->get_ProjectSet(projects.put()), S_OK);
        return projects;
    }

    std::int32_t Number(HRESULT (lindor::IExeContext::*get)(std::int32_t*))
    {
        std::int32_t value = -1;
        EXPECT_EQ((context_.get()->*get)(&value), S_OK);
        return value;
    }

    Recorder recorder_;  // outlives the context, which holds it
    std::filesystem::path folder_;
    std::string path_;
    ComPtr<lindor::IExeContext> context_;
};

TEST_F(MustShow, TheVersionCheckRefuses24AndClosesTheConnection)
{
    Sql("UPDATE tSystem SET Version = '2.4';");
    EXPECT_EQ(context_->OpenAccessDB(path_), E_FAIL);
    std::string text, source;
    ASSERT_TRUE(lindor::GetErrorInfo(&text, &source));
    EXPECT_EQ(text, "version of database is not correct");
    EXPECT_EQ(source, "Lindor.ExeContext.1");
    ComPtr<lindor::IProjectSet> projects;
    EXPECT_EQ(context_->get_ProjectSet(projects.put()), E_FAIL) << "the connection is closed";
}

TEST_F(MustShow, AMissingPathIsNamed)
{
    const std::string missing = (folder_ / "missing.mdb").string();
    EXPECT_EQ(context_->OpenAccessDB(missing), E_FAIL);
    EXPECT_EQ(ErrorText(), "Open database " + missing + " failed");
}

TEST_F(MustShow, LoginAsAdministratorWrongPasswordAndUnknownName)
{
    ASSERT_EQ(context_->OpenAccessDB(path_), S_OK);
    const char* home = std::getenv("NIMBRA_HOME");
    const std::string log = std::string(home != nullptr ? home : ".") + "/Err.log";
    const std::size_t logStart = lindor::apitest::ReadFileBytes(log).size();

    ASSERT_EQ(context_->Login("ADMIN", ""), S_OK) << ErrorText();
    EXPECT_NE(
        lindor::apitest::ReadFileBytes(log).substr(logStart).find("ADMIN login successfully!"),
        std::string::npos);
    // The administrator mark: every right with no project active.
    ComPtr<lindor::IRight> right;
    ASSERT_EQ(context_->get_CurProjectRight(right.put()), S_OK);
    ASSERT_TRUE(right);
    std::int32_t deleteProject = 0;
    right->get_DeleteProject(&deleteProject);
    EXPECT_EQ(deleteProject, 1);

    EXPECT_EQ(context_->Login("Admin", "guess"), E_FAIL);
    EXPECT_EQ(ErrorText(), "User Name or password is incorrect!");
    ASSERT_EQ(context_->get_CurProjectRight(right.put()), S_OK);
    EXPECT_FALSE(right) << "the mark went with the failed login";

    EXPECT_EQ(context_->Login("nobody", ""), E_FAIL);
    EXPECT_EQ(recorder_.events,
              (std::vector<std::string>{"OnLogin(1,ADMIN,)", "OnLogin(0,Admin,guess)"}));
}

TEST_F(MustShow, UsersStartAtID2AndTheAdministratorStays)
{
    OpenAsAdministrator();
    ComPtr<lindor::IUserSet> users;
    ASSERT_EQ(context_->get_AllUser(users.put()), S_OK);
    ComPtr<lindor::IUser> carol;
    ASSERT_EQ(lindor::CreateObject("Lindor.User.1", carol.put()), S_OK);
    carol->put_LoginName("carol");
    carol->put_UserName("Carol");
    carol->put_Password("pw");
    ASSERT_EQ(users->Add(carol.get()), S_OK) << ErrorText();
    std::int32_t id = 0;
    carol->get_ID(&id);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(users->RemoveByID(1), E_FAIL);
    EXPECT_EQ(ErrorText(), "Cannot delete Admin");
    EXPECT_EQ(Count("tUser"), 2);
}

TEST_F(MustShow, TheActiveProjectNeedsTheVersionInItAndRightsThere)
{
    // Carol (ID 2) has role 1 with a rights row in project 1 only.
    Sql("INSERT INTO tUserRight (UserRightID, AddProject) VALUES (1, 0);"
        "INSERT INTO tRight (RightID, UserRightID, ProjectID, \"Read\") VALUES (10, 1, 1, 1);"
        "INSERT INTO tUser (UserID, UserRightID, UserName, LoginName) VALUES (2, 1, 'Carol', "
        "'carol');");
    ASSERT_EQ(context_->OpenAccessDB(path_), S_OK);
    ASSERT_EQ(context_->Login("carol", ""), S_OK) << ErrorText();
    ASSERT_EQ(context_->SetActiveProject(1, 2), S_OK);
    EXPECT_EQ(context_->SetActiveProject(2, 0), S_OK);
    EXPECT_EQ(Number(&lindor::IExeContext::get_ActiveProjectID), 1);
    EXPECT_EQ(context_->SetActiveProject(1, 3), E_FAIL);
    EXPECT_EQ(ErrorText(), "Set Active Project Failed");
    EXPECT_EQ(Number(&lindor::IExeContext::get_ActiveProjectID), 0);
    EXPECT_EQ(Number(&lindor::IExeContext::get_ActiveVersionID), 0);
    EXPECT_EQ(recorder_.events,
              (std::vector<std::string>{"OnLogin(1,carol,)", "OnActiveProject(1,1,2)",
                                        "OnActiveProject(0,1,2)"}));
}

TEST_F(MustShow, ProjectsVersionsAndWhatGoesWithThem)
{
    OpenAsAdministrator();
    ComPtr<lindor::IProjectSet> projects = Projects();
    ComPtr<lindor::IProject> gamma;
    ASSERT_EQ(lindor::CreateObject("Lindor.Project.1", gamma.put()), S_OK);
    gamma->put_Name("Gamma");
    for (const char* name : {"1.0", "1.1", "2.0"}) {
        ComPtr<lindor::IVersion> version;
        ASSERT_EQ(gamma->AddVersion(name, "", 0.0, version.put()), S_OK);
    }
    ASSERT_EQ(projects->Add(gamma.get()), S_OK) << ErrorText();
    std::int32_t id = 0;
    gamma->get_ID(&id);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(Sql("SELECT group_concat(VersionID) FROM tVersion WHERE ProjectID = 3;"), "5,6,7");

    // Bugs 1 and 2 reported in version 5, bug 3 only fixed in it; bug 4 in
    // version 6 with an attachment; a classification with an assignment; a
    // role's rights row in the project with an available status.
    Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
        "ReproductiveName, Description, ReportedInVersionID, FixedInVersionID, BugType) VALUES "
        "(1,'Normal','New','Normal','Always','a',5,0,0), "
        "(2,'Normal','New','Normal','Always','b',5,0,0),"
        "(3,'Normal','New','Normal','Always','c',1,5,0), "
        "(4,'Normal','New','Normal','Always','d',6,0,0);"
        "INSERT INTO tAttachment (AttachmentID, BugID, FileName, FileData) VALUES (1, 4, 'a.txt', "
        "X'00');"
        "INSERT INTO tClassification (ClassificationID, ProjectID, ClassName) VALUES (1, 3, 'UI');"
        "INSERT INTO tUserClassification (UserID, ClassificationID) VALUES (1, 1);"
        "INSERT INTO tUserRight (UserRightID, AddProject) VALUES (1, 0);"
        "INSERT INTO tRight (RightID, UserRightID, ProjectID) VALUES (20, 1, 3), (21, 1, 1);"
        "INSERT INTO tAvailableStatus (StatusName, RightID) VALUES ('New', 20), ('New', 21);");

    ComPtr<lindor::IProject> stored;
    ASSERT_EQ(projects->get_Item(2, stored.put()), S_OK);
    ASSERT_EQ(stored->RemoveVersion("1.0"), S_OK);
    ASSERT_EQ(projects->Update(), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT group_concat(BugID) FROM tBugReport;"), "3,4");

    // A deletion that fails at its last row leaves every row in place.
    const std::string everything =
        "SELECT (SELECT COUNT(*) FROM tVersion) || ',' || (SELECT COUNT(*) FROM tBugReport) || "
        "',' || (SELECT COUNT(*) FROM tAttachment) || ',' || (SELECT COUNT(*) FROM "
        "tClassification) || ',' || (SELECT COUNT(*) FROM tUserClassification) || ',' || "
        "(SELECT COUNT(*) FROM tRight) || ',' || (SELECT COUNT(*) FROM tAvailableStatus) || ',' "
        "|| (SELECT COUNT(*) FROM tProject);";
    const std::string before = Sql(everything);
    EXPECT_EQ(before, "6,2,1,1,1,2,2,3");
    const bool server = lindor::apitest::IsServerAddress(path_);
    Sql(server ? "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                 "EXCEPTION 'refused'; END $$; CREATE TRIGGER refuse BEFORE DELETE ON tProject "
                 "FOR EACH ROW EXECUTE FUNCTION refuse();"
               : "CREATE TRIGGER refuse BEFORE DELETE ON tProject BEGIN SELECT RAISE(ABORT, "
                 "'refused'); END;");
    EXPECT_EQ(projects->DeleteByID(3), E_FAIL);
    EXPECT_EQ(ErrorText(), "Delete Project failed");
    EXPECT_EQ(Sql(everything), before);

    Sql(server ? "DROP TRIGGER refuse ON tProject;" : "DROP TRIGGER refuse;");
    ASSERT_EQ(projects->DeleteByID(3), S_OK) << ErrorText();
    EXPECT_EQ(Sql(everything), "4,1,0,0,0,1,1,2");
    EXPECT_EQ(Sql("SELECT BugID FROM tBugReport;"), "3");
    EXPECT_EQ(Sql("SELECT RightID FROM tAvailableStatus;"), "21");
}

// A program may open a second context for a moment (to check another file);
// once it is closed or released, the first context's steps that open their
// own connection (Login among them) reach the first context's file again.
TEST_F(MustShow, ASecondContextGivesTheDatabaseBackWhenItCloses)
{
    const std::string other = lindor::apitest::NewTeamDataSource(folder_, "other.mdb");
    ComPtr<lindor::IAdmin> admin;
    ASSERT_EQ(lindor::CreateObject("Lindor.Admin.1", admin.put()), S_OK);
    ASSERT_EQ(admin->NewMDB(other), S_OK) << ErrorText();
    // Only the other file knows "carol".
    lindor::apitest::RunSql(folder_, other,
                            "INSERT INTO tUser (UserID, UserName, LoginName) VALUES (2, 'Carol', "
                            "'carol');");

    ASSERT_EQ(context_->OpenAccessDB(path_), S_OK);
    {
        ComPtr<lindor::IExeContext> probe;
        ASSERT_EQ(lindor::CreateObject("Lindor.ExeContext.1", probe.put()), S_OK);
        ASSERT_EQ(probe->OpenAccessDB(other), S_OK);
        EXPECT_EQ(probe->Login("carol", ""), S_OK) << ErrorText();
    }
    EXPECT_EQ(context_->Login("carol", ""), E_FAIL);
    EXPECT_EQ(context_->Login("ADMIN", ""), S_OK) << ErrorText();

    ComPtr<lindor::IExeContext> closed;
    ASSERT_EQ(lindor::CreateObject("Lindor.ExeContext.1", closed.put()), S_OK);
    ASSERT_EQ(closed->OpenAccessDB(other), S_OK);
    ASSERT_EQ(closed->Close(), S_OK);
    EXPECT_EQ(context_->Login("carol", ""), E_FAIL);
    EXPECT_EQ(context_->Login("ADMIN", ""), S_OK) << ErrorText();
}

}  // namespace
