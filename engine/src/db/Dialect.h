// The SQL dialect the engine writes (month/day/year date literals, "NOT" as an
// infix comparison, single-quoted texts) and its translation for the driver.
// Everything dialect-specific lives here.
#pragma once

#include <string>
#include <vector>

namespace lindor::db {

struct SqlToken {
    enum class Kind { Space, Word, Quoted, String, Number, Date, Operator, Punct };
    Kind kind;
    std::string text;
    double day = 0;  // for Kind::Date: the day number it names
};

// Splits SQL text into tokens; date literals (m/d/yyyy or #m/d/yyyy#) become
// Date tokens. Throws DatabaseError for an unterminated string or a date that
// names no real day.
std::vector<SqlToken> TokenizeSql(const std::string& sql);
std::string JoinTokens(const std::vector<SqlToken>& tokens);

// Rewrites engine SQL for the driver: a comparison of a column with a date
// literal compares whole days ("= 3/5/2005" matches any time that day), and
// "column NOT value" means "column <> value".
std::string TranslateSql(const std::string& sql);

// Whether a condition text can stand in brackets as one condition: outside
// its literals every bracket it opens is closed, none closes what it did not
// open, and it holds no comment or statement break. Only such a text can be
// joined by AND to another condition without changing what that one means.
bool IsOneCondition(const std::string& condition);

// A text as a single-quoted SQL literal, quotes inside doubled.
std::string QuoteText(const std::string& text);
// A name as a quoted identifier.
std::string QuoteName(const std::string& name);

// Case-insensitive comparison of names, as the database compares them.
bool SameName(const std::string& a, const std::string& b);

// The parts of a SELECT over one table that a keyed cursor needs; `table`
// is empty when the query is not a plain single-table SELECT (joins,
// grouping, expressions in the select list, DISTINCT...).
struct SingleTableQuery {
    std::string table;
    std::vector<std::string> selectList;  // "*" or column names as written
    std::string fromRest;                 // from the table name to the end of the text
    std::string whereRest;                // fromRest without its ORDER BY clause
};
SingleTableQuery ParseSingleTableQuery(const std::string& translatedSql);

}  // namespace lindor::db
