// A project's versions in memory, and the version's plain properties.
#include <gtest/gtest.h>

#include "core/ClassRegistry.h"
#include "core/ComObject.h"
#include "projects/CProject.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::LastCallerError;
using test::LogWatch;

std::vector<std::string> VersionNames(IProject* project)
{
    std::int32_t count = 0;
    project->get_VersionCount(&count);
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < count; ++i) {
        ComPtr<IVersion> version;
        project->get_Version(i, version.put());
        std::string name;
        version->get_Name(&name);
        names.push_back(name);
    }
    return names;
}

ComPtr<IProject> ProjectWith(std::initializer_list<const char*> versions)
{
    ComPtr<IProject> project = MakeObject<CProject>();
    for (const char* name : versions) {
        ComPtr<IVersion> version;
        EXPECT_EQ(project->AddVersion(name, "", 0.0, version.put()), S_OK);
    }
    return project;
}

TEST(Project, IsCreatedByItsClassNames)
{
    for (const char* name : {"Lindor.Project.1", "Lindor.Version.1"}) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(ClassRegistry::Create(name, IUnknown::IID, object.put_void()), S_OK) << name;
    }
}

TEST(Project, AddVersionAppendsANewVersionAndHandsItOut)
{
    ComPtr<IProject> project = MakeObject<CProject>();
    ComPtr<IVersion> version;
    ASSERT_EQ(project->AddVersion("1.0", "first", 40000.5, version.put()), S_OK);
    std::int32_t id = -1;
    std::string description;
    Date released = 0;
    version->get_ID(&id);
    version->get_Description(&description);
    version->get_ReleaseDate(&released);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(description, "first");
    EXPECT_EQ(released, 40000.5);
    ComPtr<IVersion> stored;
    ASSERT_EQ(project->get_Version(0, stored.put()), S_OK);
    EXPECT_EQ(stored.get(), version.get()) << "the stored object itself, not a copy";
    EXPECT_EQ(project->AddVersion("2.0", "", 0.0, nullptr), E_FAIL);
    EXPECT_EQ(VersionNames(project.get()), (std::vector<std::string>{"1.0"}));
}

TEST(Project, RemoveVersionDropsTheFirstExactMatchOnly)
{
    ComPtr<IProject> project = ProjectWith({"beta", "Beta", "beta"});
    LogWatch watch;
    EXPECT_EQ(project->RemoveVersion("BETA"), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Remove Failed");
    EXPECT_TRUE(watch.Has(0, "IProject::RemoveVersion", "Remove Failed"));
    EXPECT_EQ(project->RemoveVersion("beta"), S_OK);
    EXPECT_EQ(VersionNames(project.get()), (std::vector<std::string>{"Beta", "beta"}));
}

TEST(Project, IndexesOutsideTheVersionsFail)
{
    ComPtr<IProject> project = ProjectWith({"a", "b"});
    LogWatch watch;
    ComPtr<IVersion> version;
    EXPECT_EQ(project->get_Version(2, version.put()), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Some error has occured, please see err.log!");
    EXPECT_TRUE(watch.Has(1, "IProject::Version"));
    EXPECT_EQ(project->RemoveVersionAt(-1), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Some error has occured, please see err.log!");
    EXPECT_TRUE(watch.Has(0, "IProject::RemoveVersionAt", "Remove version failed"));
    EXPECT_EQ(project->RemoveVersionAt(0), S_OK);
    EXPECT_EQ(VersionNames(project.get()), (std::vector<std::string>{"b"}));
}

TEST(Project, NameAndDescriptionArePlainProperties)
{
    ComPtr<IProject> project = MakeObject<CProject>();
    project->put_Name("Alpha");
    project->put_Description("the first");
    std::string name, description;
    std::int32_t id = -1;
    project->get_Name(&name);
    project->get_Description(&description);
    project->get_ID(&id);
    EXPECT_EQ(name, "Alpha");
    EXPECT_EQ(description, "the first");
    EXPECT_EQ(id, 0);
    EXPECT_EQ(project->get_Name(nullptr), E_FAIL);
}

}  // namespace
}  // namespace lindor
