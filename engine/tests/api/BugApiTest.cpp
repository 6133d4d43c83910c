// An outside program's walk through filters, bug sets and attachments: only
// the public header, a database made by Admin.NewMDB, and the sqlite3 shell
// for the roles (which no engine member under test writes) and for counting.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace {

using lindor::apitest::ErrorText;

using lindor::ComPtr;
using lindor::E_FAIL;
using lindor::S_OK;
using lindor::Variant;

template <class I>
ComPtr<I> Make(const char* className)
{
    ComPtr<I> object;
    EXPECT_EQ(lindor::CreateObject(className, object.put()), S_OK) << className;
    return object;
}

struct Cond {
    const char* field;
    lindor::eLogCondition condition;
    Variant value;
    lindor::eLogOperation andOr = lindor::LogAnd;
    lindor::eBracket bracket = lindor::eNone;
};

ComPtr<lindor::IBugFilterSet> SetOf(const std::vector<Cond>& conditions)
{
    ComPtr<lindor::IBugFilterSet> set = Make<lindor::IBugFilterSet>("Lindor.BugFilterSet.1");
    for (const Cond& c : conditions) {
        ComPtr<lindor::IBugFilter> filter = Make<lindor::IBugFilter>("Lindor.BugFilter.1");
        filter->put_Field(c.field);
        filter->put_Condition(c.condition);
        EXPECT_EQ(filter->put_Value(c.value), S_OK) << c.field;
        filter->put_AndOr(c.andOr);
        filter->put_Bracket(c.bracket);
        set->Add(filter.get());
    }
    return set;
}

std::string TextOf(lindor::IBugFilterSet* set)
{
    std::string text;
    EXPECT_EQ(set->GetSQL(&text), S_OK);
    return text;
}

TEST(FilterExamples, EveryRowOfTheTableThroughThePublicInterface)
{
    setenv("LINDOR_LIBRARY", LINDOR_LIBRARY_PATH, 0);
    using lindor::Equal;
    const Variant newText = Variant::Text("New");
    EXPECT_EQ(TextOf(SetOf({{"StatusName", Equal, newText}}).get()), "StatusName = 'New'");
    EXPECT_EQ(TextOf(SetOf({{"StatusName", Equal, newText},
                            {"PriorityName", Equal, Variant::Text("High"), lindor::LogOr}})
                         .get()),
              "StatusName = 'New' OR PriorityName = 'High'");
    EXPECT_EQ(TextOf(SetOf({{"BugType", Equal, Variant::UI1(1)},
                            {"ReportedByID", lindor::NotEqual, Variant::I4(7), lindor::LogAnd,
                             lindor::eOpen},
                            {"FixedByID", Equal, Variant::I4(0), lindor::LogOr, lindor::eClose}})
                         .get()),
              "BugType = 1 AND (ReportedByID <> 7 OR FixedByID = 0)");
    EXPECT_EQ(TextOf(SetOf({{"DateDue", lindor::LessThan, Variant::Date(38416.0)}}).get()),
              "DateDue < 3/5/2005");
    EXPECT_EQ(TextOf(SetOf({{"Description", lindor::Like, Variant::Text("crash")}}).get()),
              "Description LIKE 'crash'");
    EXPECT_EQ(TextOf(SetOf({{"StatusName", lindor::Not, newText}}).get()), "StatusName NOT 'New'");

    ComPtr<lindor::IBugFilterSet> crash = SetOf({{"SeverityName", Equal, Variant::Text("Crash")}});
    ASSERT_EQ(
        crash->AddBatch(SetOf({{"StatusName", Equal, Variant::Text("Active")},
                               {"StatusName", Equal, Variant::Text("Waiting"), lindor::LogOr}})
                            .get()),
        S_OK);
    EXPECT_EQ(TextOf(crash.get()),
              "SeverityName = 'Crash' AND (StatusName = 'Active' OR StatusName = 'Waiting')");

    ComPtr<lindor::IBugFilterSet> single = SetOf({{"SeverityName", Equal, Variant::Text("Crash")}});
    ASSERT_EQ(single->AddBatch(SetOf({{"StatusName", Equal, Variant::Text("Active")}}).get()),
              S_OK);
    ComPtr<lindor::IBugFilter> type = Make<lindor::IBugFilter>("Lindor.BugFilter.1");
    type->put_Field("BugType");
    type->put_Value(Variant::UI1(0));
    single->Add(type.get());
    EXPECT_EQ(TextOf(single.get()),
              "SeverityName = 'Crash' AND StatusName = 'Active' AND BugType = 0");

    // A quote inside a value is doubled, so the value stays one literal.
    EXPECT_EQ(TextOf(SetOf({{"Description", Equal, Variant::Text("O'Hara")}}).get()),
              "Description = 'O''Hara'");
}

// Dana's role may do everything in project 1; Eve's may read there, change
// priorities, and nothing else.
class BugWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("LINDOR_LIBRARY", LINDOR_LIBRARY_PATH, 0);
        const char* tmp = std::getenv("TMPDIR");
        folder_ = std::filesystem::path(tmp != nullptr ? tmp : "/tmp") / "lindor-bug-api" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        path_ = lindor::apitest::NewTeamDataSource(folder_);
        ComPtr<lindor::IAdmin> admin = Make<lindor::IAdmin>("Lindor.Admin.1");
        ASSERT_EQ(admin->NewMDB(path_), S_OK) << ErrorText();
        Sql("INSERT INTO tUserRight (UserRightID, AddProject) VALUES (1, 0), (2, 0);"
            "INSERT INTO tRight (RightID, UserRightID, ProjectID) VALUES (1, 1, 1), (2, 2, 1);"
            "UPDATE tRight SET \"Read\" = 1, \"Add\" = 1, \"Delete\" = 1, EditPriority = 1, "
            "EditDescription = 1, EditAttachment = 1 WHERE RightID = 1;"
            "UPDATE tRight SET \"Read\" = 1, EditPriority = 1 WHERE RightID = 2;"
            "INSERT INTO tUser (UserID, UserRightID, UserName, LoginName) VALUES "
            "(2, 1, 'Dana', 'dana'), (3, 2, 'Eve', 'eve');");
        context_ = Make<lindor::IExeContext>("Lindor.ExeContext.1");
        ASSERT_EQ(context_->OpenAccessDB(path_), S_OK) << ErrorText();
    }

    // Runs SQL with the sqlite3 shell; returns its output without the last line end.
    std::string Sql(const std::string& statements) const
    {
        return lindor::apitest::RunSql(folder_, path_, statements);
    }

    ComPtr<lindor::IBugSet> OpenAs(const std::string& login)
    {
        EXPECT_EQ(context_->Login(login, ""), S_OK) << ErrorText();
        EXPECT_EQ(context_->SetActiveProject(1, 0), S_OK) << ErrorText();
        ComPtr<lindor::IBugSet> bugs;
        EXPECT_EQ(context_->OpenBugSet(lindor::eBug, nullptr, bugs.put()), S_OK) << ErrorText();
        return bugs;
    }

    ComPtr<lindor::IBug> NewBug(const std::string& description, std::int32_t version,
                                const std::string& priority = "Normal")
    {
        ComPtr<lindor::IBug> bug = Make<lindor::IBug>("Lindor.Bug.1");
        bug->put_ReportedInProjectID(1);  // as the client's editor does
        bug->put_Description(description);
        bug->put_Status("New");
        bug->put_Priority(priority);
        bug->put_Severity("Normal");
        bug->put_Reproductive("Always");
        EXPECT_EQ(bug->put_ReportedInVersionID(version), S_OK) << ErrorText();
        return bug;
    }

    std::int32_t AddBug(lindor::IBugSet* bugs, const std::string& description, std::int32_t version,
                        const std::string& priority = "Normal")
    {
        ComPtr<lindor::IBug> added;
        EXPECT_EQ(bugs->Add(NewBug(description, version, priority).get(), added.put()), S_OK)
            << ErrorText();
        std::int32_t id = 0;
        if (added) added->get_ID(&id);
        return id;
    }

    static std::vector<std::int32_t> Shown(lindor::IBugSet* bugs)
    {
        std::vector<std::int32_t> ids;
        std::int32_t end = 0;
        for (bugs->First(); bugs->IsEnd(&end) == S_OK && end == 0; bugs->Next()) {
            ComPtr<lindor::IBug> bug;
            bugs->get_CurItem(bug.put());
            std::int32_t id = 0;
            bug->get_ID(&id);
            ids.push_back(id);
        }
        return ids;
    }

    std::filesystem::path folder_;
    std::string path_;
    ComPtr<lindor::IExeContext> context_;
};

using IDs = std::vector<std::int32_t>;

TEST_F(BugWalk, AddsUnderRightsAndRefusesWithout)
{
    ComPtr<lindor::IBugSet> bugs = OpenAs("dana");
    EXPECT_EQ(AddBug(bugs.get(), "first", 1), 1);
    EXPECT_EQ(AddBug(bugs.get(), "second", 2), 2);
    ComPtr<lindor::IBug> elsewhere;
    EXPECT_EQ(bugs->Add(NewBug("in project 2", 3).get(), elsewhere.put()), E_FAIL)
        << "version 3 is not a version of project 1";
    EXPECT_EQ(ErrorText(), "Version(ID=3) is not a version of Project(ID=1)");
    Sql("UPDATE tBugReport SET BugType = 1 WHERE BugID = 2;");

    ComPtr<lindor::IBugSet> reopened;
    ASSERT_EQ(context_->OpenBugSet(lindor::eBug, nullptr, reopened.put()), S_OK);
    EXPECT_EQ(Shown(reopened.get()), (IDs{1})) << "versions 1 and 2 of project 1, bugs only";
    ASSERT_EQ(context_->OpenBugSet(lindor::eFeature, nullptr, reopened.put()), S_OK);
    EXPECT_EQ(Shown(reopened.get()), (IDs{2}));

    ComPtr<lindor::IBugSet> eves = OpenAs("eve");
    ComPtr<lindor::IBug> refused;
    EXPECT_EQ(eves->Add(NewBug("not allowed", 1).get(), refused.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You have no right to Add bug, please contact your manager!");
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM tBugReport;"), "2");
}

TEST_F(BugWalk, TheExampleConditionsSelectTheRowsTheyDescribe)
{
    Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, ReproductiveName, "
        "Description, ReportedByID, FixedByID, DateDue, ReportedInVersionID, BugType) VALUES "
        "(1, 'Crash', 'New', 'High', 'Always', 'crash', 7, 0, 38410.5, 1, 1),"
        "(2, 'Crash', 'Active', 'Low', 'Always', 'Crash', 3, 0, 38416.75, 1, 1),"
        "(3, 'Normal', 'Waiting', 'High', 'Always', 'slow', 7, 2, 38420, 1, 0),"
        "(4, 'Crash', 'Waiting', 'Normal', 'Always', 'crashes', 7, 5, 38300, 1, 0),"
        "(5, 'Crash', 'Active', 'Normal', 'Always', 'x', 1, 1, 38415.99, 1, 0);");
    ComPtr<lindor::IBugSet> bugs = Make<lindor::IBugSet>("Lindor.BugSet.1");
    ASSERT_EQ(bugs->Open(nullptr), S_OK) << ErrorText();
    using lindor::Equal;
    const auto crashThen = [](const std::vector<Cond>& batch) {
        ComPtr<lindor::IBugFilterSet> set =
            SetOf({{"SeverityName", Equal, Variant::Text("Crash")}});
        EXPECT_EQ(set->AddBatch(SetOf(batch).get()), S_OK);
        return set;
    };
    ComPtr<lindor::IBugFilterSet> withType =
        crashThen({{"StatusName", Equal, Variant::Text("Active")}});
    ComPtr<lindor::IBugFilter> type = Make<lindor::IBugFilter>("Lindor.BugFilter.1");
    type->put_Field("BugType");
    type->put_Value(Variant::UI1(0));
    withType->Add(type.get());
    const std::pair<ComPtr<lindor::IBugFilterSet>, IDs> examples[] = {
        {SetOf({{"StatusName", Equal, Variant::Text("New")}}), {1}},
        {SetOf({{"StatusName", Equal, Variant::Text("New")},
                {"PriorityName", Equal, Variant::Text("High"), lindor::LogOr}}),
         {1, 3}},
        {SetOf({{"BugType", Equal, Variant::UI1(1)},
                {"ReportedByID", lindor::NotEqual, Variant::I4(7), lindor::LogAnd, lindor::eOpen},
                {"FixedByID", Equal, Variant::I4(0), lindor::LogOr, lindor::eClose}}),
         {1, 2}},
        {SetOf({{"DateDue", lindor::LessThan, Variant::Date(38416.0)}}), {1, 4, 5}},
        {SetOf({{"Description", lindor::Like, Variant::Text("crash")}}), {1, 2}},
        {SetOf({{"StatusName", lindor::Not, Variant::Text("New")}}), {2, 3, 4, 5}},
        {crashThen({{"StatusName", Equal, Variant::Text("Active")},
                    {"StatusName", Equal, Variant::Text("Waiting"), lindor::LogOr}}),
         {2, 4, 5}},
        {withType, {5}},
    };
    for (const auto& [filter, expected] : examples) {
        ASSERT_EQ(bugs->put_FilterSet(filter.get()), S_OK)
            << TextOf(filter.get()) << ": " << ErrorText();
        EXPECT_EQ(Shown(bugs.get()), expected) << TextOf(filter.get());
    }
}

TEST_F(BugWalk, WithoutAnActiveProjectTheUsersProjectsAreTheScope)
{
    ComPtr<lindor::IBugSet> bugs = OpenAs("dana");
    AddBug(bugs.get(), "project 1", 2);
    // Dana may not put a bug into project 2; someone who may has done so.
    Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, ReproductiveName, "
        "Description, ReportedInPrjID, ReportedInVersionID, BugType) VALUES "
        "(2, 'Normal', 'New', 'Normal', 'Always', 'project 2', 2, 4, 0);");
    ASSERT_EQ(context_->SetActiveProject(0, 0), S_OK);
    ComPtr<lindor::IBugSet> all;
    ASSERT_EQ(context_->OpenBugSet(lindor::eBug, nullptr, all.put()), S_OK) << ErrorText();
    EXPECT_EQ(Shown(all.get()), (IDs{1})) << "Dana's role has rights in project 1 only";
    ComPtr<lindor::IBug> refused;
    EXPECT_EQ(all->Add(NewBug("no project", 1).get(), refused.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "You cannot perform this action when no project is selected!");

    // The administrator of a new database has no role, so no project to see.
    ASSERT_EQ(context_->Login("Admin", ""), S_OK);
    ASSERT_EQ(context_->OpenBugSet(lindor::eBug, nullptr, all.put()), S_OK) << ErrorText();
    EXPECT_TRUE(Shown(all.get()).empty());
}

TEST_F(BugWalk, UpdatesOnlyThePermittedColumns)
{
    ComPtr<lindor::IBugSet> dana = OpenAs("dana");
    const std::int32_t id = AddBug(dana.get(), "original words", 1);
    Sql("UPDATE tRight SET EditPriority = 1, EditDescription = 0 WHERE RightID = 2;");
    ComPtr<lindor::IBugSet> eves = OpenAs("eve");
    ComPtr<lindor::IBug> bug;
    ASSERT_EQ(eves->GetBugByID(id, bug.put()), S_OK) << ErrorText();
    bug->put_Description("rewritten");
    bug->put_Priority("High");
    bug->put_Status("Resolved");
    ASSERT_EQ(eves->Update(bug.get()), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT Description, PriorityName, StatusName FROM tBugReport;"),
              "original words|High|Resolved");
}

TEST_F(BugWalk, SortsFiltersAndFindsByNumber)
{
    ComPtr<lindor::IBugSet> bugs = OpenAs("dana");
    AddBug(bugs.get(), "a", 1, "Low");
    AddBug(bugs.get(), "b", 2, "High");
    AddBug(bugs.get(), "c", 1, "Normal");
    AddBug(bugs.get(), "d", 2, "High");
    ASSERT_EQ(bugs->Refresh(), S_OK);

    ASSERT_EQ(bugs->Sort(lindor::ColPriority, lindor::eDesc), S_OK) << ErrorText();
    EXPECT_EQ(Shown(bugs.get()).front(), 3) << "Normal, then Low, then High";
    ComPtr<lindor::IBugFilterSet> high =
        SetOf({{"PriorityName", lindor::Equal, Variant::Text("High")}});
    ASSERT_EQ(bugs->put_FilterSet(high.get()), S_OK) << ErrorText();
    const IDs filtered = Shown(bugs.get());
    EXPECT_EQ(filtered.size(), 2u);
    ASSERT_EQ(bugs->Sort(lindor::ColID, lindor::eAsc), S_OK);
    EXPECT_EQ(Shown(bugs.get()), (IDs{2, 4})) << "the filter stays through a sort";
    std::int32_t count = 0;
    bugs->get_Count(&count);
    EXPECT_EQ(count, 2);

    ASSERT_EQ(bugs->put_FilterSet(nullptr), S_OK);
    bugs->put_Position(3);
    ComPtr<lindor::IBug> found;
    ASSERT_EQ(bugs->GetBugByID(2, found.put()), S_OK);
    std::string description;
    found->get_Description(&description);
    EXPECT_EQ(description, "b");
    EXPECT_EQ(bugs->GetBugByID(99, found.put()), E_FAIL);
    EXPECT_EQ(ErrorText(), "Get Bug Failed!");

    // The caller's conditions only narrow the scope, however they are joined.
    Sql("INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, ReproductiveName, "
        "Description, ReportedInPrjID, ReportedInVersionID, BugType) VALUES "
        "(5, 'Normal', 'New', 'High', 'Always', 'elsewhere', 2, 3, 0);");
    ComPtr<lindor::IBugSet> narrowed;
    ComPtr<lindor::IBugFilterSet> orHigh =
        SetOf({{"PriorityName", lindor::Equal, Variant::Text("High"), lindor::LogOr}});
    ASSERT_EQ(context_->OpenBugSet(lindor::eBug, orHigh.get(), narrowed.put()), S_OK);
    EXPECT_EQ(Shown(narrowed.get()), (IDs{2, 4}));
}

TEST_F(BugWalk, AnAttachmentComesBackAndGoesWithItsBug)
{
    ComPtr<lindor::IBugSet> bugs = OpenAs("dana");
    const std::int32_t id = AddBug(bugs.get(), "with a trace", 1);
    AddBug(bugs.get(), "stays", 1);
    ComPtr<lindor::IBug> bug;
    ASSERT_EQ(bugs->GetBugByID(id, bug.put()), S_OK);
    ComPtr<lindor::IFileSet> files;
    ASSERT_EQ(bug->get_AttachedFiles(files.put()), S_OK) << ErrorText();

    std::mt19937 random(5);
    std::string bytes(20 * 1024, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 256);
    const std::string source = (folder_ / "trace.bin").string();
    std::ofstream(source, std::ios::binary) << bytes;
    ComPtr<lindor::IFile> file;
    ASSERT_EQ(files->Add(source, file.put()), S_OK) << ErrorText();
    const std::string back = (folder_ / "back.bin").string();
    ASSERT_EQ(file->GetFile(back), S_OK) << ErrorText();
    EXPECT_TRUE(lindor::apitest::ReadFileBytes(back) == bytes) << "20 KB byte for byte";
    EXPECT_EQ(file->GetFile(back), E_FAIL) << "an existing file is never overwritten";
    EXPECT_EQ(ErrorText(), "Get File Failed!");

    ASSERT_EQ(bugs->RemoveByID(id), S_OK) << ErrorText();
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM tAttachment;"), "0");
    EXPECT_EQ(Sql("SELECT group_concat(BugID) FROM tBugReport;"), "2");
}

}  // namespace
