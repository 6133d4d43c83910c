#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "admin/CAdmin.h"
#include "context/CExeContext.h"
#include "core/ErrorInfo.h"
#include "core/ErrorReport.h"
#include "support/StoredRows.h"
#include "support/TestDatabase.h"
#include "users/CRight.h"
#include "users/CUserRight.h"

namespace lindor {
namespace {

using test::CountRows;
using test::ErrorFrom;
using test::InsertRow;
using test::LogWatch;

constexpr std::int32_t kBob = 2;

// The IDs of a set's classifications, sorted.
std::vector<std::int32_t> IDsOf(IClassificationSet* set)
{
    std::vector<std::int32_t> ids;
    std::int32_t count = 0;
    set->get_Count(&count);
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IClassification> item;
        set->get_Item(i, item.put());
        std::int32_t id = 0;
        item->get_ID(&id);
        ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The classifications assigned to a user, sorted, as stored.
std::vector<std::int32_t> StoredAssignments(std::int32_t userID)
{
    std::vector<std::int32_t> ids;
    db::Recordset rows;
    rows.Open("SELECT ClassificationID FROM tUserClassification WHERE UserID = " +
                  std::to_string(userID) + " ORDER BY ClassificationID",
              db::ProcessConnectionString(), db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rows.IsEOF(); rows.MoveNext()) ids.push_back(rows.Fields(0).Value().i4());
    return ids;
}

using IDs = std::vector<std::int32_t>;

// Project 1 has the classifications 1 "Core" and 2 "Docs", project 2 has
// 3 "Engine". User 2 "bob" may read both projects and assign classifications
// in the projects the test grants.
class UserClassificationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = test::NewDatabase();
        test::AddUser(kBob, "bob");
        for (const auto& [id, project, name] :
             {std::tuple{1, 1, "Core"}, std::tuple{2, 1, "Docs"}, std::tuple{3, 2, "Engine"}})
            InsertRow("tClassification", {{"ClassificationID", Variant::I4(id)},
                                          {"ProjectID", Variant::I4(project)},
                                          {"ClassName", Variant::Text(name)}});
        context = test::OpenContext(path);
    }

    // Gives bob a role with Read in both projects and AssignClassToUser in
    // the projects listed, and logs him in.
    void LogInBobAssigningIn(std::initializer_list<std::int32_t> assignProjects)
    {
        ComPtr<CUserRight> role = MakeObject<CUserRight>();
        for (std::int32_t project : {1, 2}) {
            ComPtr<CRight> right = MakeObject<CRight>();
            right->put_ProjectID(project);
            right->SetFlag(RightFlag::Read, true);
            const bool assigns = std::find(assignProjects.begin(), assignProjects.end(), project) !=
                                 assignProjects.end();
            right->SetFlag(RightFlag::AssignClassToUser, assigns);
            role->Rights()->Append(right.get());
        }
        ASSERT_EQ(MakeObject<CAdmin>()->SetUserRight(kBob, role.get()), S_OK);
        ASSERT_EQ(context->Login("bob", ""), S_OK);
    }

    HRESULT Assign(std::int32_t projectID, const IDs& ids)
    {
        return context->AssignUserClassification(kBob, ids.data(),
                                                 static_cast<std::int32_t>(ids.size()), projectID);
    }

    IDs Classifications(std::int32_t userID, std::int32_t projectID)
    {
        ComPtr<IClassificationSet> set;
        EXPECT_EQ(context->GetUserClassification(userID, projectID, set.put()), S_OK);
        return set ? IDsOf(set.get()) : IDs{-1};
    }

    std::string path;
    ComPtr<CExeContext> context;
};

// ---- reading ----------------------------------------------------------------

TEST_F(UserClassificationTest, WithoutAUserEveryClassificationOfTheProjectIsListed)
{
    EXPECT_EQ(Classifications(0, 1), (IDs{1, 2}));
    EXPECT_EQ(Classifications(0, 2), (IDs{3}));
    ComPtr<IClassificationSet> set;
    ASSERT_EQ(context->GetUserClassification(0, 1, set.put()), S_OK);
    ComPtr<IClassification> first;
    set->get_Item(0, first.put());
    std::string name;
    first->get_Name(&name);
    EXPECT_TRUE(name == "Core" || name == "Docs") << name;
}

TEST_F(UserClassificationTest, AUsersClassificationsInOneProjectOrInEveryProjectOfHisRole)
{
    LogInBobAssigningIn({1, 2});
    ASSERT_EQ(Assign(1, {2}), S_OK);
    ASSERT_EQ(Assign(2, {3}), S_OK);
    EXPECT_EQ(Classifications(kBob, 1), (IDs{2}));
    EXPECT_EQ(Classifications(kBob, 2), (IDs{3}));
    EXPECT_EQ(Classifications(kBob, 0), (IDs{2, 3}));
    EXPECT_EQ(Classifications(1, 0), (IDs{})) << "the administrator has none";
    // Without a rights row for project 2 its classifications leave the list.
    ComPtr<CUserRight> onlyProjectOne = MakeObject<CUserRight>();
    ComPtr<CRight> right = MakeObject<CRight>();
    right->put_ProjectID(1);
    right->SetFlag(RightFlag::Read, true);
    onlyProjectOne->Rights()->Append(right.get());
    ASSERT_EQ(MakeObject<CAdmin>()->SetUserRight(kBob, onlyProjectOne.get()), S_OK);
    EXPECT_EQ(Classifications(kBob, 0), (IDs{2}));
}

TEST_F(UserClassificationTest, AClosedDatabaseCannotBeRead)
{
    context->Close();
    LogWatch watch;
    ComPtr<IClassificationSet> set;
    EXPECT_EQ(context->GetUserClassification(0, 1, set.put()), E_FAIL);
    EXPECT_FALSE(set);
    EXPECT_EQ(ErrorFrom("ExeContext"), "Get User's Classification Failed");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CExeContext::GetUserClassification"));
}

// ---- assigning --------------------------------------------------------------

TEST_F(UserClassificationTest, AssigningInOneProjectKeepsTheOtherProjectsAssignments)
{
    LogInBobAssigningIn({1, 2});
    ASSERT_EQ(Assign(1, {1, 2}), S_OK);
    ASSERT_EQ(Assign(2, {3}), S_OK);
    EXPECT_EQ(StoredAssignments(kBob), (IDs{1, 2, 3}));
    ASSERT_EQ(Assign(1, {1}), S_OK);
    EXPECT_EQ(StoredAssignments(kBob), (IDs{1, 3}));
    ASSERT_EQ(Assign(1, {}), S_OK);
    EXPECT_EQ(StoredAssignments(kBob), (IDs{3})) << "a count of 0 empties that project only";
}

TEST_F(UserClassificationTest, AFailingAssignmentLeavesTheOldOnes)
{
    LogInBobAssigningIn({1});
    ASSERT_EQ(Assign(1, {1}), S_OK);
    test::RefuseInDatabase("no_docs",
                           "INSERT ON tUserClassification WHEN NEW.ClassificationID = 2");
    LogWatch watch;
    EXPECT_EQ(Assign(1, {2}), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), "Assign classification to user failed!");
    EXPECT_TRUE(watch.Has(kLogDatabase, "CExeContext::AssignUserClassification", "no_docs"));
    EXPECT_EQ(StoredAssignments(kBob), (IDs{1}));
}

// The right is checked in the project given, so only that project's
// classifications may be assigned with it.
TEST_F(UserClassificationTest, AClassificationOfAnotherProjectIsRefused)
{
    LogInBobAssigningIn({1});
    ASSERT_EQ(Assign(1, {1}), S_OK);
    LogWatch watch;
    EXPECT_EQ(Assign(1, {2, 3}), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), "Assign classification to user failed!");
    EXPECT_TRUE(watch.Has(kLogGeneral, "CExeContext::AssignUserClassification",
                          "Classification(ID=3) does not belong to Project(ID=1)"));
    EXPECT_EQ(StoredAssignments(kBob), (IDs{1}));
}

TEST_F(UserClassificationTest, TheRightToAssignIsCheckedInTheProjectGiven)
{
    LogInBobAssigningIn({1});
    const std::string refusal = RightsMessage("assign classification to user for this Project");
    LogWatch watch;
    EXPECT_EQ(Assign(2, {3}), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), refusal);
    EXPECT_TRUE(watch.Has(kLogRight, "CExeContext::AssignUserClassification",
                          "current has no right to assign classification to user!"));
    EXPECT_EQ(context->AssignUserClassification(kBob, nullptr, 0, 5), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), refusal);
    EXPECT_TRUE(watch.Has(kLogRight, "CExeContext::AssignUserClassification",
                          "current user has no right for this Project"));
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification"), 0);
}

TEST_F(UserClassificationTest, BeforeAnyLoginAssigningIsRefusedWithTheRightsMessage)
{
    LogWatch watch;
    const std::int32_t ids[] = {1};
    EXPECT_EQ(context->AssignUserClassification(kBob, ids, 1, 1), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"),
              RightsMessage("assign classification to user for this Project"));
    EXPECT_TRUE(
        watch.Has(kLogRight, "CExeContext::AssignUserClassification", "get current right failed"));
    EXPECT_EQ(CountRows("SELECT * FROM tUserClassification"), 0);
}

TEST_F(UserClassificationTest, AMissingListOfIdentifiersIsRefused)
{
    LogInBobAssigningIn({1});
    EXPECT_EQ(context->AssignUserClassification(kBob, nullptr, 2, 1), E_FAIL);
    EXPECT_EQ(ErrorFrom("ExeContext"), "Assign classification to user failed!");
    EXPECT_EQ(context->AssignUserClassification(kBob, nullptr, -1, 1), E_FAIL);
}

}  // namespace
}  // namespace lindor
