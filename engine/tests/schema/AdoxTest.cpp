#include <gtest/gtest.h>

#include <functional>

#include "db/Connection.h"
#include "db/SchemaType.h"
#include "schema/Adox.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

constexpr int kLong = 3, kText = 202;

class AdoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        source = test::NewDataSource("catalog.mdb");
        adox.CreateDatabase(source);
        table = &adox.CreateTable("tOne");
        adox.AddColumn(*table, "ID", kLong, 0, true);
        adox.AddColumn(*table, "Name", kText, 255, false);
    }

    AdoXError Refusal(const std::function<void()>& step)
    {
        try {
            step();
        } catch (const AdoXError& e) {
            return e;
        }
        ADD_FAILURE() << "no refusal";
        return {};
    }

    std::string source;
    Adox adox;
    AdoxTable* table = nullptr;
};

TEST_F(AdoxTest, RefusesUnsupportedTypesAndDuplicateColumns)
{
    AdoXError e = Refusal([&] { adox.AddColumn(*table, "Price", 6, 0, false); });
    EXPECT_EQ(e.Source, "Adox::AddColumn");
    EXPECT_EQ(e.Description, "Type 6 is not supported");
    e = Refusal([&] { adox.AddColumn(*table, "name", kText, 255, false); });
    EXPECT_EQ(e.Source, "Adox::AddColumn");
    EXPECT_EQ(e.Description, "Column name is duplicated");
}

TEST_F(AdoxTest, OnePrimaryKeyPerTable)
{
    adox.AddPrimaryKey(*table, "PKey", "ID");
    const AdoXError e = Refusal([&] { adox.AddPrimaryKey(*table, "PKey2", "Name"); });
    EXPECT_EQ(e.Source, "Adox::AddPrimaryKey");
    EXPECT_EQ(e.Description, "There is already a primary key in this table");
}

TEST_F(AdoxTest, ForeignKeysCheckTableThenRelatedColumnThenColumn)
{
    AdoxTable& two = adox.CreateTable("tTwo");
    adox.AddColumn(two, "OneID", kLong, 0, true);
    AdoXError e = Refusal([&] { adox.AddForeignKey(two, "K", "OneID", "tNone", "ID"); });
    EXPECT_EQ(e.Source, "Add Foreign key");
    EXPECT_EQ(e.Description, "tNone table is not exist in the database");
    e = Refusal([&] { adox.AddForeignKey(two, "K", "Missing", "tOne", "NoID"); });
    EXPECT_EQ(e.Description, "NoID is not exist in tOne table");
    e = Refusal([&] { adox.AddForeignKey(two, "K", "Missing", "tOne", "ID"); });
    EXPECT_EQ(e.Description, "Missing is not exist in tTwo table");
    EXPECT_NO_THROW(adox.AddForeignKey(two, "K", "OneID", "tOne", "ID"));
}

TEST_F(AdoxTest, OtherFailuresArePlainTexts)
{
    try {
        adox.GetTable("tNowhere");
        FAIL();
    } catch (const AdoxFailure& f) {
        EXPECT_STREQ(f.what(), "Error occured in Create Table");
    }
    try {
        adox.AddPrimaryKey(*table, "PKey", "NoColumn");
        FAIL();
    } catch (const AdoxFailure& f) {
        EXPECT_STREQ(f.what(), "Error occured in AddPrimaryKey");
    }
}

TEST_F(AdoxTest, CreatingOverAnExistingFileRaisesTheProvidersMessage)
{
    Adox second;
    const std::string path = test::TestFolder() + "exists.mdb";
    second.CreateDatabase(path);
    try {
        Adox third;
        third.CreateDatabase(path);
        FAIL();
    } catch (const AdoXError& e) {
        EXPECT_NE(e.Description.find("exists"), std::string::npos) << e.Description;
    }
}

TEST_F(AdoxTest, WritesTheCatalogToTheDatabase)
{
    adox.AddPrimaryKey(*table, "PKey", "ID");
    adox.WriteSchema();
    db::Connection connection(db::BuildConnectionString(source));
    const db::TableInfo& stored = connection.database().schema().Table("TONE");
    EXPECT_EQ(stored.name, "tOne");
    EXPECT_EQ(stored.primaryKey, "ID");
    ASSERT_EQ(stored.columns.size(), 2u);
    EXPECT_EQ(stored.columns[0].name, "ID");
    EXPECT_EQ(stored.columns[0].type, db::SchemaType::Long);
    EXPECT_TRUE(stored.columns[0].required);
    EXPECT_EQ(stored.columns[1].name, "Name");
    EXPECT_EQ(stored.columns[1].type, db::SchemaType::Text);
    EXPECT_EQ(stored.columns[1].size, 255);
    EXPECT_FALSE(stored.columns[1].required);
    EXPECT_EQ(Adox::ProviderText("/x.mdb"),
              "Provider='Microsoft.JET.OLEDB.4.0';Data source = /x.mdb");
}

}  // namespace
}  // namespace lindor
