#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ClassRegistry.h"
#include "core/DateTime.h"
#include "filters/BugColumns.h"
#include "filters/CBugFilter.h"
#include "support/TestDatabase.h"

namespace lindor {
namespace {

using test::LastCallerError;
using test::LogWatch;
using test::ResetCallerError;

Date Day(int year, int month, int day, int hour = 0)
{
    return DateFromCivil({year, month, day, hour, 0, 0});
}

ComPtr<CBugFilter> Filter(const std::string& field, eLogCondition condition = Equal)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    filter->put_Field(field);
    filter->put_Condition(condition);
    return filter;
}

// The condition text of `field` `condition` `value`; "<failed>" when GetSQL fails.
std::string SqlOf(const std::string& field, eLogCondition condition, const Variant& value)
{
    ComPtr<CBugFilter> filter = Filter(field, condition);
    EXPECT_EQ(filter->put_Value(value), S_OK) << field;
    std::string sql;
    return filter->GetSQL(&sql) == S_OK ? sql : "<failed>";
}

// ---- properties -------------------------------------------------------------

TEST(BugFilterProperties, StartAsAnEqualAndConditionWithoutFieldValueOrBracket)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    std::string field = "x";
    eLogCondition condition = Like;
    eLogOperation andOr = LogOr;
    eBracket bracket = eClose;
    Variant value = Variant::I4(1);
    ASSERT_EQ(filter->get_Field(&field), S_OK);
    ASSERT_EQ(filter->get_Condition(&condition), S_OK);
    ASSERT_EQ(filter->get_AndOr(&andOr), S_OK);
    ASSERT_EQ(filter->get_Bracket(&bracket), S_OK);
    ASSERT_EQ(filter->get_Value(&value), S_OK);
    EXPECT_EQ(field, "");
    EXPECT_EQ(condition, Equal);
    EXPECT_EQ(andOr, LogAnd);
    EXPECT_EQ(bracket, eNone);
    EXPECT_TRUE(value.IsEmpty());
}

TEST(BugFilterProperties, FieldConditionAndOrAndBracketAreStoredWithoutChecks)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    LogWatch log;
    EXPECT_EQ(filter->put_Field("NoSuchColumn"), S_OK);
    EXPECT_EQ(filter->put_Condition(static_cast<eLogCondition>(42)), S_OK);
    EXPECT_EQ(filter->put_AndOr(static_cast<eLogOperation>(0)), S_OK);
    EXPECT_EQ(filter->put_Bracket(static_cast<eBracket>(7)), S_OK);
    std::string field;
    eLogCondition condition = Equal;
    eLogOperation andOr = LogAnd;
    eBracket bracket = eNone;
    filter->get_Field(&field);
    filter->get_Condition(&condition);
    filter->get_AndOr(&andOr);
    filter->get_Bracket(&bracket);
    EXPECT_EQ(field, "NoSuchColumn");
    EXPECT_EQ(condition, 42);
    EXPECT_EQ(andOr, 0);
    EXPECT_EQ(bracket, 7);
    EXPECT_TRUE(log.Entries().empty());
}

TEST(BugFilterProperties, AndOrTextIsAndOnlyForLogAnd)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    std::string text;
    ASSERT_EQ(filter->GetAndOrStr(&text), S_OK);
    EXPECT_EQ(text, "And");
    for (std::int32_t other : {2, 0, 3, -1}) {
        filter->put_AndOr(static_cast<eLogOperation>(other));
        ASSERT_EQ(filter->GetAndOrStr(&text), S_OK);
        EXPECT_EQ(text, "Or") << other;
    }
}

TEST(BugFilterProperties, ConditionTextIsAlwaysEmpty)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    for (std::int32_t condition : {1, 7, 8, 9}) {
        filter->put_Condition(static_cast<eLogCondition>(condition));
        std::string text = "stale";
        ASSERT_EQ(filter->GetConditionStr(&text), S_OK);
        EXPECT_EQ(text, "") << condition;
    }
}

TEST(BugFilterProperties, NullOutPointersFailWithoutCrashing)
{
    ComPtr<CBugFilter> filter = Filter("BugID");
    EXPECT_EQ(filter->get_Field(nullptr), E_FAIL);
    EXPECT_EQ(filter->get_Condition(nullptr), E_FAIL);
    EXPECT_EQ(filter->get_AndOr(nullptr), E_FAIL);
    EXPECT_EQ(filter->get_Bracket(nullptr), E_FAIL);
    EXPECT_EQ(filter->get_Value(nullptr), E_FAIL);
    EXPECT_EQ(filter->GetSQL(nullptr), E_FAIL);
    EXPECT_EQ(filter->GetAndOrStr(nullptr), E_FAIL);
    EXPECT_EQ(filter->GetConditionStr(nullptr), E_FAIL);
}

TEST(BugFilterProperties, IsCreatedByItsClassName)
{
    ComPtr<IBugFilter> filter;
    ASSERT_EQ(ClassRegistry::Create("Lindor.BugFilter.1", "IBugFilter", filter.put_void()), S_OK);
    std::string field = "x";
    EXPECT_EQ(filter->get_Field(&field), S_OK);
    EXPECT_EQ(field, "");
}

// ---- value types ------------------------------------------------------------

struct ColumnCase {
    const char* column;
    VarType type;
};

const ColumnCase kColumns[] = {
    {"BugID", VT_I4},
    {"ClassID", VT_I4},
    {"ReportedByID", VT_I4},
    {"FixedByID", VT_I4},
    {"VerifiedByID", VT_I4},
    {"LastModifiedByID", VT_I4},
    {"ReportedInVersionID", VT_I4},
    {"FixedInVersionID", VT_I4},
    {"BugType", VT_UI1},
    {"ReproductiveName", VT_BSTR},
    {"StatusName", VT_BSTR},
    {"PriorityName", VT_BSTR},
    {"SeverityName", VT_BSTR},
    {"Description", VT_BSTR},
    {"RecreateStep", VT_BSTR},
    {"Workaround", VT_BSTR},
    {"Report", VT_BSTR},
    {"Resolution", VT_BSTR},
    {"Classification", VT_BSTR},
    {"ReportedBy", VT_BSTR},
    {"FixedBy", VT_BSTR},
    {"VerifiedBy", VT_BSTR},
    {"LastModifiedBy", VT_BSTR},
    {"ReportedInVersion", VT_BSTR},
    {"FixedInVersion", VT_BSTR},
    {"EstimatedTime", VT_DATE},
    {"ActualTime", VT_DATE},
    {"DateDue", VT_DATE},
    {"ReportedDate", VT_DATE},
    {"FixedDate", VT_DATE},
    {"VerifiedDate", VT_DATE},
    {"LastModifiedDate", VT_DATE},
    {"ReportedInPrjID", VT_NULL},
    {"ReportedInPrj", VT_NULL},
    {"", VT_NULL},
    {"BugID ", VT_NULL},
};

std::vector<Variant> OneValueOfEachType()
{
    return {Variant(),        Variant::Null(),    Variant::I2(5),
            Variant::I4(5),   Variant::UI1(5),    Variant::Bool(true),
            Variant::R8(5.0), Variant::Date(5.0), Variant::Text("5")};
}

bool Accepts(VarType columnType, const Variant& value)
{
    // An untyped column takes only "no value": null, or the empty value a
    // condition starts with.
    if (columnType == VT_NULL) return value.IsNull() || value.IsEmpty();
    return value.vt() == columnType;
}

TEST(BugFilterValue, TakesExactlyTheColumnTypeAndNothingElse)
{
    for (const ColumnCase& c : kColumns) {
        EXPECT_EQ(BugColumnValueType(c.column), c.type) << c.column;
        for (const Variant& value : OneValueOfEachType()) {
            ComPtr<CBugFilter> filter = Filter(c.column);
            const HRESULT expected = Accepts(c.type, value) ? S_OK : E_FAIL;
            EXPECT_EQ(filter->put_Value(value), expected)
                << c.column << " with type " << value.vt();
        }
    }
}

TEST(BugFilterValue, ColumnsAreMatchedWithoutRegardToCase)
{
    EXPECT_EQ(BugColumnValueType("bugid"), VT_I4);
    EXPECT_EQ(BugColumnValueType("BUGTYPE"), VT_UI1);
    EXPECT_EQ(BugColumnValueType("statusNAME"), VT_BSTR);
    EXPECT_EQ(BugColumnValueType("datedue"), VT_DATE);
}

TEST(BugFilterValue, A16BitIntegerIsRefusedForAnIdColumnAndLogged)
{
    ComPtr<CBugFilter> filter = Filter("BugID");
    LogWatch log;
    EXPECT_EQ(filter->put_Value(Variant::I2(5)), E_FAIL);
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, 0);
    EXPECT_EQ(entries[0].source, "CBugFilter::put_Value");
    EXPECT_EQ(entries[0].description, "Type mismatch");

    EXPECT_EQ(filter->put_Value(Variant::I4(5)), S_OK);
    std::string sql;
    ASSERT_EQ(filter->GetSQL(&sql), S_OK);
    EXPECT_EQ(sql, "BugID = 5");
}

TEST(BugFilterValue, ARefusedValueLeavesTheStoredOne)
{
    ComPtr<CBugFilter> filter = Filter("StatusName");
    ASSERT_EQ(filter->put_Value(Variant::Text("New")), S_OK);
    EXPECT_EQ(filter->put_Value(Variant::I4(3)), E_FAIL);
    EXPECT_EQ(filter->put_Value(Variant::Null()), E_FAIL);
    Variant value;
    ASSERT_EQ(filter->get_Value(&value), S_OK);
    EXPECT_EQ(value, Variant::Text("New"));
}

TEST(BugFilterValue, BeforeAFieldOnlyNoValueIsAccepted)
{
    ComPtr<CBugFilter> filter = MakeObject<CBugFilter>();
    LogWatch log;
    EXPECT_EQ(filter->put_Value(Variant::Text("New")), E_FAIL);
    EXPECT_EQ(filter->put_Value(Variant::I4(1)), E_FAIL);
    EXPECT_EQ(filter->put_Value(Variant::Null()), S_OK);
    EXPECT_EQ(filter->put_Value(Variant()), S_OK);
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].description, "Type mismatch");
}

TEST(BugFilterValue, ARefusedValueLeavesNoErrorInformationForTheCaller)
{
    ComPtr<CBugFilter> filter = Filter("BugID");
    ResetCallerError();
    EXPECT_EQ(filter->put_Value(Variant::Text("5")), E_FAIL);
    EXPECT_EQ(LastCallerError().description, "");
}

// ---- condition text ---------------------------------------------------------

TEST(BugFilterSql, EachComparisonIsOneWordBetweenBlanks)
{
    const std::pair<eLogCondition, const char*> cases[] = {
        {Equal, "BugID = 7"},        {NotEqual, "BugID <> 7"}, {LargerThan, "BugID > 7"},
        {LargerEqual, "BugID >= 7"}, {LessThan, "BugID < 7"},  {LessEqual, "BugID <= 7"},
        {Not, "BugID NOT 7"},        {Like, "BugID LIKE 7"}};
    for (const auto& c : cases) EXPECT_EQ(SqlOf("BugID", c.first, Variant::I4(7)), c.second);
}

TEST(BugFilterSql, ValuesAreFormattedByColumnType)
{
    EXPECT_EQ(SqlOf("ClassID", Equal, Variant::I4(-2147483647 - 1)), "ClassID = -2147483648");
    EXPECT_EQ(SqlOf("BugType", Equal, Variant::UI1(255)), "BugType = 255");
    EXPECT_EQ(SqlOf("SeverityName", Equal, Variant::Text("Crash")), "SeverityName = 'Crash'");
    EXPECT_EQ(SqlOf("Description", Like, Variant::Text("%disk_full%")),
              "Description LIKE '%disk_full%'");
}

TEST(BugFilterSql, DatesAreMonthDayYearWithoutLeadingZerosOrTime)
{
    EXPECT_EQ(SqlOf("DateDue", LessThan, Variant::Date(Day(2005, 3, 5))), "DateDue < 3/5/2005");
    EXPECT_EQ(SqlOf("FixedDate", Equal, Variant::Date(Day(2026, 12, 8, 18))),
              "FixedDate = 12/8/2026");
    EXPECT_EQ(SqlOf("ReportedDate", Equal, Variant::Date(Day(1999, 10, 31))),
              "ReportedDate = 10/31/1999");
    EXPECT_EQ(SqlOf("EstimatedTime", LargerThan, Variant::Date(0.0)), "EstimatedTime > 12/30/1899");
}

TEST(BugFilterSql, ALowerCaseFieldIsWrittenAsGiven)
{
    EXPECT_EQ(SqlOf("bugid", Equal, Variant::I4(5)), "bugid = 5");
    EXPECT_EQ(SqlOf("STATUSNAME", NotEqual, Variant::Text("New")), "STATUSNAME <> 'New'");
}

TEST(BugFilterSql, QuotesInsideTextAreDoubledSoTheValueStaysOneLiteral)
{
    EXPECT_EQ(SqlOf("ReportedBy", Equal, Variant::Text("O'Hara")), "ReportedBy = 'O''Hara'");
    EXPECT_EQ(SqlOf("StatusName", Equal, Variant::Text("x' OR '1'='1")),
              "StatusName = 'x'' OR ''1''=''1'");
    EXPECT_EQ(SqlOf("Report", Equal, Variant::Text("'")), "Report = ''''");
}

TEST(BugFilterSql, AValueNeverSetIsTheColumnTypesEmptyValue)
{
    const std::pair<const char*, const char*> cases[] = {{"StatusName", "StatusName = ''"},
                                                         {"BugID", "BugID = 0"},
                                                         {"BugType", "BugType = 0"},
                                                         {"DateDue", "DateDue = 12/30/1899"}};
    for (const auto& c : cases) {
        std::string sql;
        ASSERT_EQ(Filter(c.first)->GetSQL(&sql), S_OK) << c.first;
        EXPECT_EQ(sql, c.second);
    }
}

TEST(BugFilterSql, AnUnknownComparisonFailsWithParameterError)
{
    for (std::int32_t condition : {9, 0, -1}) {
        ComPtr<CBugFilter> filter = Filter("BugID", static_cast<eLogCondition>(condition));
        filter->put_Value(Variant::I4(1));
        LogWatch log;
        ResetCallerError();
        std::string sql = "stale";
        EXPECT_EQ(filter->GetSQL(&sql), E_FAIL) << condition;
        EXPECT_EQ(sql, "");
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].code, 0);
        EXPECT_EQ(entries[0].source, "CBugFilter::GetSQL");
        EXPECT_EQ(entries[0].description, "Filter's parameter error");
        EXPECT_EQ(LastCallerError().description, "") << "the log is the only report";
    }
}

TEST(BugFilterSql, AColumnWithoutTypeFailsWithTypeMismatch)
{
    for (const char* field : {"ReportedInPrjID", ""}) {
        ComPtr<CBugFilter> filter = Filter(field);
        ASSERT_EQ(filter->put_Value(Variant::Null()), S_OK);
        LogWatch log;
        std::string sql;
        EXPECT_EQ(filter->GetSQL(&sql), E_FAIL) << field;
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].source, "CBugFilter::GetSQL");
        EXPECT_EQ(entries[0].description, "Type mismatch");
    }
}

TEST(BugFilterSql, TheComparisonIsCheckedBeforeTheColumn)
{
    ComPtr<CBugFilter> filter = Filter("ReportedInPrj", static_cast<eLogCondition>(9));
    LogWatch log;
    std::string sql;
    EXPECT_EQ(filter->GetSQL(&sql), E_FAIL);
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].description, "Filter's parameter error");
}

TEST(BugFilterSql, AFieldChangedToAnotherTypeAfterTheValueFailsInsteadOfMisreadingIt)
{
    ComPtr<CBugFilter> filter = Filter("BugID");
    ASSERT_EQ(filter->put_Value(Variant::I4(5)), S_OK);
    filter->put_Field("StatusName");
    LogWatch log;
    std::string sql;
    EXPECT_EQ(filter->GetSQL(&sql), E_FAIL);
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].description, "Type mismatch");

    filter->put_Field("ReportedByID");
    ASSERT_EQ(filter->GetSQL(&sql), S_OK) << "a column of the same type keeps the value";
    EXPECT_EQ(sql, "ReportedByID = 5");
}

TEST(BugFilterSql, ANullValueLeftFromAnUntypedFieldCountsAsNeverSet)
{
    ComPtr<CBugFilter> filter = Filter("ReportedInPrj");
    ASSERT_EQ(filter->put_Value(Variant::Null()), S_OK);
    filter->put_Field("PriorityName");
    std::string sql;
    ASSERT_EQ(filter->GetSQL(&sql), S_OK);
    EXPECT_EQ(sql, "PriorityName = ''");
}

}  // namespace
}  // namespace lindor
