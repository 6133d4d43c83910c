#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ClassRegistry.h"
#include "core/DateTime.h"
#include "core/ErrorReport.h"
#include "filters/CBugFilter.h"
#include "filters/CBugFilterSet.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::LastCallerError;
using test::LogWatch;
using test::ResetCallerError;

// (Field, Condition, Value, AndOr, Bracket) of one condition.
struct Row {
    const char* field;
    eLogCondition condition;
    Variant value;
    eLogOperation andOr = LogAnd;
    eBracket bracket = eNone;
};

ComPtr<IBugFilter> MakeCondition(const Row& row)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    filter->put_Field(row.field);
    filter->put_Condition(row.condition);
    EXPECT_EQ(filter->put_Value(row.value), S_OK) << row.field;
    filter->put_AndOr(row.andOr);
    filter->put_Bracket(row.bracket);
    return ComPtr<IBugFilter>(filter.get());
}

ComPtr<CBugFilterSet> MakeSet(const std::vector<Row>& rows)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    for (const Row& row : rows) EXPECT_EQ(set->Add(MakeCondition(row).get()), S_OK);
    return set;
}

std::string SqlOf(IBugFilterSet* set)
{
    std::string sql;
    return set->GetSQL(&sql) == S_OK ? sql : "<failed>";
}

Variant Text(const char* text)
{
    return Variant::Text(text);
}

ComPtr<IBugFilter> ItemOf(IBugFilterSet* set, std::int32_t index)
{
    ComPtr<IBugFilter> item;
    EXPECT_EQ(set->get_Item(index, item.put()), S_OK) << index;
    return item;
}

eBracket BracketOf(IBugFilterSet* set, std::int32_t index)
{
    eBracket bracket = eNone;
    ItemOf(set, index)->get_Bracket(&bracket);
    return bracket;
}

std::int32_t CountOf(IBugFilterSet* set)
{
    std::int32_t count = -1;
    EXPECT_EQ(set->get_Count(&count), S_OK);
    return count;
}

// ---- worked examples --------------------------------------------------------

TEST(BugFilterSetExamples, OneTextCondition)
{
    auto set = MakeSet({{"StatusName", Equal, Text("New")}});
    EXPECT_EQ(SqlOf(set.get()), "StatusName = 'New'");
}

TEST(BugFilterSetExamples, TwoConditionsJoinedByOr)
{
    auto set =
        MakeSet({{"StatusName", Equal, Text("New")}, {"PriorityName", Equal, Text("High"), LogOr}});
    EXPECT_EQ(SqlOf(set.get()), "StatusName = 'New' OR PriorityName = 'High'");
}

TEST(BugFilterSetExamples, ABracketedOrGroupAfterAByteCondition)
{
    auto set = MakeSet({{"BugType", Equal, Variant::UI1(1)},
                        {"ReportedByID", NotEqual, Variant::I4(7), LogAnd, eOpen},
                        {"FixedByID", Equal, Variant::I4(0), LogOr, eClose}});
    EXPECT_EQ(SqlOf(set.get()), "BugType = 1 AND (ReportedByID <> 7 OR FixedByID = 0)");
}

TEST(BugFilterSetExamples, ADateCondition)
{
    auto set = MakeSet({{"DateDue", LessThan, Variant::Date(DateFromCivil({2005, 3, 5}))}});
    EXPECT_EQ(SqlOf(set.get()), "DateDue < 3/5/2005");
}

TEST(BugFilterSetExamples, LikeAndNotAreInfixWords)
{
    EXPECT_EQ(SqlOf(MakeSet({{"Description", Like, Text("crash")}}).get()),
              "Description LIKE 'crash'");
    EXPECT_EQ(SqlOf(MakeSet({{"StatusName", Not, Text("New")}}).get()), "StatusName NOT 'New'");
}

TEST(BugFilterSetExamples, ABatchOfTwoBecomesOneBracketedGroup)
{
    auto set = MakeSet({{"SeverityName", Equal, Text("Crash")}});
    auto batch = MakeSet({{"StatusName", Equal, Text("Active"), LogAnd},
                          {"StatusName", Equal, Text("Waiting"), LogOr}});
    ASSERT_EQ(set->AddBatch(batch.get()), S_OK);
    EXPECT_EQ(SqlOf(set.get()),
              "SeverityName = 'Crash' AND (StatusName = 'Active' OR StatusName = 'Waiting')");
}

TEST(BugFilterSetExamples, ABatchOfOneGetsNoBrackets)
{
    auto set = MakeSet({{"SeverityName", Equal, Text("Crash")}});
    auto batch = MakeSet({{"StatusName", Equal, Text("Active"), LogAnd}});
    ASSERT_EQ(set->AddBatch(batch.get()), S_OK);
    ASSERT_EQ(set->Add(MakeCondition({"BugType", Equal, Variant::UI1(0), LogAnd}).get()), S_OK);
    EXPECT_EQ(SqlOf(set.get()), "SeverityName = 'Crash' AND StatusName = 'Active' AND BugType = 0");
}

// ---- joining and brackets ---------------------------------------------------

TEST(BugFilterSetText, AnEmptySetGivesTheEmptyText)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    std::string sql = "stale";
    ASSERT_EQ(set->GetSQL(&sql), S_OK);
    EXPECT_EQ(sql, "");
}

TEST(BugFilterSetText, TheFirstConditionsAndOrIsNeverWritten)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1), LogOr}});
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1");
}

TEST(BugFilterSetText, AnUnknownAndOrJoinsWithNothing)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)},
                        {"BugID", Equal, Variant::I4(2), static_cast<eLogOperation>(0)}});
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1BugID = 2");
}

TEST(BugFilterSetText, ALoneOpeningBracketIsLeftOut)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1), LogAnd, eOpen}});
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1");
}

TEST(BugFilterSetText, AnOpeningBracketOnTheLastConditionIsLeftOut)
{
    auto set =
        MakeSet({{"BugID", Equal, Variant::I4(1)}, {"BugID", Equal, Variant::I4(2), LogOr, eOpen}});
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1 OR BugID = 2");
}

TEST(BugFilterSetText, AClosingBracketOnTheFirstConditionIsIgnored)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1), LogAnd, eClose},
                        {"BugID", Equal, Variant::I4(2), LogOr, eClose}});
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1 OR BugID = 2)") << "brackets are not balanced";
}

TEST(BugFilterSetText, TheFirstConditionCanOpenAGroup)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1), LogAnd, eOpen},
                        {"BugID", Equal, Variant::I4(2), LogOr, eClose},
                        {"BugType", Equal, Variant::UI1(0), LogAnd}});
    EXPECT_EQ(SqlOf(set.get()), "(BugID = 1 OR BugID = 2) AND BugType = 0");
}

TEST(BugFilterSetText, AFailingConditionFailsTheWholeTextAndOnlyItLogs)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)}, {"StatusName", Equal, Text("New")}});
    ItemOf(set.get(), 1)->put_Condition(static_cast<eLogCondition>(9));
    LogWatch log;
    std::string sql = "stale";
    EXPECT_EQ(set->GetSQL(&sql), E_FAIL);
    EXPECT_EQ(sql, "");
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].source, "CBugFilter::GetSQL");
}

TEST(BugFilterSetText, AQuoteInAValueCannotLeaveItsGroup)
{
    auto set = MakeSet({{"BugType", Equal, Variant::UI1(0)},
                        {"StatusName", Equal, Text("x') OR ('1'='1"), LogAnd}});
    EXPECT_EQ(SqlOf(set.get()), "BugType = 0 AND StatusName = 'x'') OR (''1''=''1'");
}

// ---- holding conditions -----------------------------------------------------

TEST(BugFilterSetItems, NameIsStoredAsGiven)
{
    ComPtr<IBugFilterSet> set;
    ASSERT_EQ(ClassRegistry::Create("Lindor.BugFilterSet.1", "IBugFilterSet", set.put_void()),
              S_OK);
    std::string name = "x";
    ASSERT_EQ(set->get_Name(&name), S_OK);
    EXPECT_EQ(name, "");
    set->put_Name("My Bugs");
    set->get_Name(&name);
    EXPECT_EQ(name, "My Bugs");
}

TEST(BugFilterSetItems, ItemHandsOutTheStoredConditionSoChangesShowInTheText)
{
    ComPtr<IBugFilter> condition = MakeCondition({"StatusName", Equal, Text("New")});
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    ASSERT_EQ(set->Add(condition.get()), S_OK);
    EXPECT_EQ(ItemOf(set.get(), 0).get(), condition.get());
    condition->put_Value(Text("Closed"));
    EXPECT_EQ(SqlOf(set.get()), "StatusName = 'Closed'");
}

TEST(BugFilterSetItems, RemoveReleasesTheConditionAndClosesTheGap)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)},
                        {"BugID", Equal, Variant::I4(2)},
                        {"BugID", Equal, Variant::I4(3)}});
    ComPtr<IBugFilter> middle = ItemOf(set.get(), 1);
    ASSERT_EQ(set->Remove(1), S_OK);
    EXPECT_EQ(CountOf(set.get()), 2);
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1 AND BugID = 3");
    EXPECT_EQ(middle->AddRef(), 2u) << "only this test still holds the removed condition";
    middle->Release();
}

TEST(BugFilterSetItems, RemoveOutsideTheSetFailsAndLogsABoundsEntry)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)}});
    for (std::int32_t index : {1, -1}) {
        LogWatch log;
        ResetCallerError();
        EXPECT_EQ(set->Remove(index), E_FAIL);
        EXPECT_EQ(LastCallerError().description, "Remove Filter failed");
        EXPECT_EQ(LastCallerError().source, "Lindor.BugFilterSet.1");
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].code, 1);
        EXPECT_EQ(entries[0].source, "CBugFilterSet::Remove");
        EXPECT_EQ(entries[0].description, "Exceed Array's bound");
    }
    EXPECT_EQ(CountOf(set.get()), 1);
}

TEST(BugFilterSetItems, ItemOutsideTheSetFailsWithTheBoundsMessage)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)}});
    for (std::int32_t index : {-1, 1}) {
        LogWatch log;
        ResetCallerError();
        IBugFilter* out = reinterpret_cast<IBugFilter*>(0x1);
        EXPECT_EQ(set->get_Item(index, &out), E_FAIL);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(LastCallerError().description, "Some error has occured, please see err.log!");
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].code, 1);
        EXPECT_EQ(entries[0].source, "CBugFilterSet::Item");
        EXPECT_EQ(entries[0].description, "Exceed boundary");
    }
}

TEST(BugFilterSetItems, ANullConditionIsRefused)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    LogWatch log;
    ResetCallerError();
    EXPECT_EQ(set->Add(nullptr), E_FAIL);
    EXPECT_EQ(CountOf(set.get()), 0);
    EXPECT_EQ(LastCallerError().description, "Add Filter failed");
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].source, "CBugFilterSet::Add");
    EXPECT_EQ(SqlOf(set.get()), "");
}

TEST(BugFilterSetItems, NullOutPointersFailWithoutCrashing)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    EXPECT_EQ(set->get_Name(nullptr), E_FAIL);
    EXPECT_EQ(set->get_Count(nullptr), E_FAIL);
    EXPECT_EQ(set->get_Item(0, nullptr), E_FAIL);
    EXPECT_EQ(set->GetSQL(nullptr), E_FAIL);
}

// ---- batches ----------------------------------------------------------------

TEST(BugFilterSetBatch, CopiesFieldConditionValueAndAndOrButNotTheObjects)
{
    auto batch = MakeSet({{"BugID", LargerEqual, Variant::I4(10), LogOr, eClose},
                          {"DateDue", LessEqual, Variant::Date(38416.0), LogAnd, eOpen}});
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    ASSERT_EQ(set->AddBatch(batch.get()), S_OK);
    ASSERT_EQ(CountOf(set.get()), 2);
    for (std::int32_t i = 0; i < 2; ++i) {
        ComPtr<IBugFilter> source = ItemOf(batch.get(), i);
        ComPtr<IBugFilter> copy = ItemOf(set.get(), i);
        EXPECT_NE(copy.get(), source.get());
        std::string sourceField, copyField;
        eLogCondition sourceCondition = Equal, copyCondition = Equal;
        eLogOperation sourceAndOr = LogAnd, copyAndOr = LogAnd;
        Variant sourceValue, copyValue;
        source->get_Field(&sourceField);
        copy->get_Field(&copyField);
        source->get_Condition(&sourceCondition);
        copy->get_Condition(&copyCondition);
        source->get_AndOr(&sourceAndOr);
        copy->get_AndOr(&copyAndOr);
        source->get_Value(&sourceValue);
        copy->get_Value(&copyValue);
        EXPECT_EQ(copyField, sourceField);
        EXPECT_EQ(copyCondition, sourceCondition);
        EXPECT_EQ(copyAndOr, sourceAndOr);
        EXPECT_EQ(copyValue, sourceValue);
    }
    ItemOf(batch.get(), 0)->put_Value(Variant::I4(99));
    EXPECT_EQ(SqlOf(set.get()), "(BugID >= 10 AND DateDue <= 3/5/2005)");
}

TEST(BugFilterSetBatch, BracketsOpenOnTheFirstCopyAndCloseOnTheLast)
{
    auto batch = MakeSet({{"BugID", Equal, Variant::I4(1), LogAnd, eClose},
                          {"BugID", Equal, Variant::I4(2), LogOr, eOpen},
                          {"BugID", Equal, Variant::I4(3), LogOr, eOpen}});
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    ASSERT_EQ(set->AddBatch(batch.get()), S_OK);
    EXPECT_EQ(BracketOf(set.get(), 0), eOpen);
    EXPECT_EQ(BracketOf(set.get(), 1), eNone);
    EXPECT_EQ(BracketOf(set.get(), 2), eClose);
}

TEST(BugFilterSetBatch, ABatchOfOneCopiesNoBracket)
{
    auto batch = MakeSet({{"BugID", Equal, Variant::I4(1), LogAnd, eOpen}});
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    ASSERT_EQ(set->AddBatch(batch.get()), S_OK);
    EXPECT_EQ(BracketOf(set.get(), 0), eNone);
}

TEST(BugFilterSetBatch, AnEmptyBatchAddsNothingAndSucceeds)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)}});
    ComPtr<CBugFilterSet> empty = MakeObject<CBugFilterSet>();
    LogWatch log;
    EXPECT_EQ(set->AddBatch(empty.get()), S_OK);
    EXPECT_EQ(CountOf(set.get()), 1);
    EXPECT_TRUE(log.Entries().empty());
}

TEST(BugFilterSetBatch, ABatchOfItselfCopiesOnlyTheConditionsItHadBefore)
{
    auto set = MakeSet({{"BugID", Equal, Variant::I4(1)}, {"BugID", Equal, Variant::I4(2), LogOr}});
    ASSERT_EQ(set->AddBatch(set.get()), S_OK);
    EXPECT_EQ(SqlOf(set.get()), "BugID = 1 OR BugID = 2 AND (BugID = 1 OR BugID = 2)");
}

TEST(BugFilterSetBatch, ANullBatchIsRefused)
{
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    LogWatch log;
    ResetCallerError();
    EXPECT_EQ(set->AddBatch(nullptr), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Add batch failed!");
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].source, "CBugFilterSet::AddBatch");
}

// A set that claims more conditions than it can hand out.
class CShortSet final : public ComObject<IBugFilterSet> {
public:
    explicit CShortSet(ComPtr<IBugFilter> only) : only_(std::move(only)) {}
    HRESULT get_Name(std::string*) override { return E_FAIL; }
    HRESULT put_Name(const std::string&) override { return E_FAIL; }
    HRESULT get_Count(std::int32_t* out) override
    {
        *out = 3;
        return S_OK;
    }
    HRESULT Add(IBugFilter*) override { return E_FAIL; }
    HRESULT Remove(std::int32_t) override { return E_FAIL; }
    HRESULT get_Item(std::int32_t index, IBugFilter** out) override
    {
        *out = nullptr;
        if (index != 0) return E_FAIL;
        only_.CopyTo(out);
        return S_OK;
    }
    HRESULT GetSQL(std::string*) override { return E_FAIL; }
    HRESULT AddBatch(IBugFilterSet*) override { return E_FAIL; }

private:
    ~CShortSet() override = default;
    ComPtr<IBugFilter> only_;
};

TEST(BugFilterSetBatch, StopsAtAConditionItCannotFetchAndKeepsEarlierCopies)
{
    ComPtr<CShortSet> other =
        MakeObject<CShortSet>(MakeCondition({"StatusName", Equal, Text("Active")}));
    ComPtr<CBugFilterSet> set = MakeObject<CBugFilterSet>();
    LogWatch log;
    ResetCallerError();
    EXPECT_EQ(set->AddBatch(other.get()), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "Add batch failed!");
    EXPECT_EQ(LastCallerError().source, "Lindor.BugFilterSet.1");
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, 0);
    EXPECT_EQ(entries[0].source, "CBugFilterSet::AddBatch");
    EXPECT_EQ(entries[0].description, "get_Item failed!");
    ASSERT_EQ(CountOf(set.get()), 1);
    EXPECT_EQ(BracketOf(set.get(), 0), eOpen) << "the group was meant to hold three";
}

}  // namespace
}  // namespace lindor
