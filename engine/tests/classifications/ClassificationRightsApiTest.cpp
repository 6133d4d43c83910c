// A project's classification set as an outside program uses it: only the
// public header. Whatever its items claim, its writes reach only the rows of
// its own project.
#include <lindor/lindor.h>

#include "support/ApiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace lindor;
using namespace lindor::apitest;

// Carol may maintain the classifications of project 1. Classification 1
// belongs to project 1, classification 2 to project 2 and is used by bug 1.
class ClassificationRights : public lindor::apitest::TeamDatabaseTest {
protected:
    void SetUp() override
    {
        TeamDatabaseTest::SetUp();
        AddMember(2, "carol", {{1, {"Read", "Add_Edit_Del_BugClass"}}});
        Sql("INSERT INTO tClassification (ClassificationID, ProjectID, ClassName) VALUES "
            "(1, 1, 'ui'), (2, 2, 'kernel');"
            "INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
            "ReproductiveName, Description, ClassID, Classification, BugType) VALUES "
            "(1, 'Normal', 'New', 'Low', 'Always', 'one', 2, 'kernel', 0);");
        carol_ = LogIn("carol", 1);
        ComPtr<lindor::IProject> project;
        ASSERT_EQ(carol_->get_ActiveProject(project.put()), S_OK) << ErrorText();
        ASSERT_EQ(project->get_ClassificationSet(set_.put()), S_OK) << ErrorText();
        ASSERT_EQ(set_->put_ExeContext(carol_.get()), S_OK);
    }

    std::string Stored() const
    {
        return Sql(
            "SELECT ClassificationID || ':' || ProjectID || ':' || ClassName FROM "
            "tClassification ORDER BY ClassificationID;");
    }
    std::string BugClassification() const
    {
        return Sql("SELECT ClassID || ':' || Classification FROM tBugReport WHERE BugID = 1;");
    }

    ComPtr<lindor::IExeContext> carol_;
    ComPtr<lindor::IClassificationSet> set_;
};

TEST_F(ClassificationRights, AnItemWithAnotherProjectsNumberChangesNothingThere)
{
    ComPtr<lindor::IClassification> own;
    ASSERT_EQ(set_->get_Item(0, own.put()), S_OK);
    ASSERT_EQ(own->put_ID(2), S_OK);
    own->put_Name("hijacked");
    EXPECT_EQ(set_->Update(), E_FAIL);
    EXPECT_EQ(ErrorText(), "Update Classification failed");
    EXPECT_EQ(set_->Remove("hijacked"), E_FAIL);
    EXPECT_EQ(set_->RemoveByID(2), E_FAIL);
    EXPECT_EQ(set_->RemoveByIndex(0), E_FAIL);
    EXPECT_EQ(Stored(), "1:1:ui\n2:2:kernel");
    EXPECT_EQ(BugClassification(), "2:kernel") << "the other project's bug keeps it";
}

TEST_F(ClassificationRights, AForgedItemChangesNothingOfAnotherProject)
{
    ComPtr<lindor::IClassification> forged = Make<lindor::IClassification>("Lindor.Classification");
    forged->put_ID(2);
    forged->put_Name("forged");
    ASSERT_EQ(set_->Append(forged.get()), S_OK);
    ComPtr<lindor::IClassification> item;
    ASSERT_EQ(set_->get_Item(1, item.put()), S_OK);
    EXPECT_EQ(set_->Update(), E_FAIL);
    EXPECT_EQ(set_->RemoveByID(2), E_FAIL);
    EXPECT_EQ(ErrorText(), "Remove Classification failed!");
    EXPECT_EQ(Stored(), "1:1:ui\n2:2:kernel");
    EXPECT_EQ(BugClassification(), "2:kernel");
}

TEST_F(ClassificationRights, TheSetsOwnClassificationsStillChange)
{
    ComPtr<lindor::IClassification> own;
    ASSERT_EQ(set_->get_Item(0, own.put()), S_OK);
    own->put_Name("interface");
    ASSERT_EQ(set_->Update(), S_OK) << ErrorText();
    ASSERT_EQ(set_->RemoveByID(1), S_OK) << ErrorText();
    EXPECT_EQ(Stored(), "2:2:kernel");
}

}  // namespace
