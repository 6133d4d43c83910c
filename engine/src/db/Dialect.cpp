#include "db/Dialect.h"

#include <strings.h>
#include <cctype>
#include <cstdio>

#include "core/DateTime.h"
#include "db/DatabaseError.h"
#include "db/SchemaType.h"

namespace lindor::db {
namespace {

using Kind = SqlToken::Kind;

bool IsWordStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}
bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

DatabaseError MismatchError()
{
    return DatabaseError(dberr::kTypeMismatch, "Data type mismatch in criteria expression.");
}

// Two-digit years follow the usual window: 00-29 are 2000s, 30-99 are 1900s.
int FullYear(int year, std::size_t digits)
{
    if (digits > 2) return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// Reads "m/d/y" at `pos`; on success sets `end` and the day number.
bool ReadDate(const std::string& sql, std::size_t pos, std::size_t* end, double* day)
{
    int parts[3] = {0, 0, 0};
    std::size_t digits[3] = {0, 0, 0};
    std::size_t i = pos;
    for (int p = 0; p < 3; ++p) {
        while (i < sql.size() && IsDigit(sql[i]) && digits[p] < 5) {
            parts[p] = parts[p] * 10 + (sql[i] - '0');
            ++digits[p];
            ++i;
        }
        if (digits[p] == 0 || (p < 2 && digits[p] > 2)) return false;
        if (p < 2) {
            if (i >= sql.size() || sql[i] != '/') return false;
            ++i;
        }
    }
    if (i < sql.size() && (IsWordChar(sql[i]) || sql[i] == '.' || sql[i] == '/')) return false;
    const int year = FullYear(parts[2], digits[2]);
    if (!IsValidCivilDate(year, parts[0], parts[1])) throw MismatchError();
    *day = static_cast<double>(DayNumber(year, parts[0], parts[1]));
    *end = i;
    return true;
}

std::size_t ReadQuoted(const std::string& sql, std::size_t pos, char close)
{
    const char open = sql[pos];
    std::size_t i = pos + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            // A doubled quote inside a quoted text stands for one quote.
            if (open == close && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    throw DatabaseError(dberr::kSyntax, "Syntax error in string in query expression.");
}

bool IsComparison(const SqlToken& t)
{
    if (t.kind == Kind::Operator)
        return t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "<" ||
               t.text == "<=" || t.text == ">" || t.text == ">=";
    return t.kind == Kind::Word && (SameName(t.text, "NOT") || SameName(t.text, "LIKE"));
}

bool IsLiteral(const SqlToken& t)
{
    return t.kind == Kind::String || t.kind == Kind::Number || t.kind == Kind::Date;
}

bool IsKeyword(const std::string& word)
{
    static const char* const keywords[] = {"AND", "OR",      "NOT",   "LIKE",   "IN",
                                           "IS",  "BETWEEN", "WHERE", "SELECT", "FROM",
                                           "ON",  "BY",      "NULL"};
    for (const char* k : keywords)
        if (SameName(word, k)) return true;
    return false;
}

// Index of the previous non-space token, or npos.
std::size_t Previous(const std::vector<SqlToken>& t, std::size_t i)
{
    while (i > 0) {
        --i;
        if (t[i].kind != Kind::Space) return i;
    }
    return std::string::npos;
}

std::size_t Next(const std::vector<SqlToken>& t, std::size_t i)
{
    for (++i; i < t.size(); ++i)
        if (t[i].kind != Kind::Space) return i;
    return std::string::npos;
}

// The start index of a (possibly qualified) column name ending at `last`.
std::size_t OperandStart(const std::vector<SqlToken>& t, std::size_t last)
{
    std::size_t start = last;
    while (start >= 2 && t[start - 1].kind == Kind::Punct && t[start - 1].text == "." &&
           (t[start - 2].kind == Kind::Word || t[start - 2].kind == Kind::Quoted))
        start -= 2;
    return start;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.0f", value);
    return text;
}

// "column op day" as a comparison of whole days.
std::string WholeDayComparison(const std::string& column, const std::string& op, double day)
{
    const std::string from = Number(day), to = Number(day + 1);
    if (op == "<") return column + " < " + from;
    if (op == "<=") return column + " < " + to;
    if (op == ">") return column + " >= " + to;
    if (op == ">=") return column + " >= " + from;
    if (op == "<>" || op == "!=" || SameName(op, "NOT"))
        return "(" + column + " < " + from + " OR " + column + " >= " + to + ")";
    return "(" + column + " >= " + from + " AND " + column + " < " + to + ")";
}

}  // namespace

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::vector<SqlToken> TokenizeSql(const std::string& sql)
{
    std::vector<SqlToken> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        std::size_t end = i + 1;
        SqlToken token{Kind::Punct, ""};
        double day = 0;
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (end < sql.size() && std::isspace(static_cast<unsigned char>(sql[end]))) ++end;
            token.kind = Kind::Space;
        } else if (c == '\'') {
            end = ReadQuoted(sql, i, '\'');
            token.kind = Kind::String;
        } else if (c == '"' || c == '[' || c == '`') {
            end = ReadQuoted(sql, i, c == '[' ? ']' : c);
            token.kind = Kind::Quoted;
        } else if (c == '#' && ReadDate(sql, i + 1, &end, &day) && end < sql.size() &&
                   sql[end] == '#') {
            ++end;
            token.kind = Kind::Date;
            token.day = day;
        } else if (IsDigit(c) && (i == 0 || !IsWordChar(sql[i - 1])) &&
                   ReadDate(sql, i, &end, &day)) {
            token.kind = Kind::Date;
            token.day = day;
        } else if (IsDigit(c) || (c == '.' && i + 1 < sql.size() && IsDigit(sql[i + 1]))) {
            while (end < sql.size() && (IsDigit(sql[end]) || sql[end] == '.')) ++end;
            token.kind = Kind::Number;
        } else if (IsWordStart(c)) {
            while (end < sql.size() && IsWordChar(sql[end])) ++end;
            token.kind = Kind::Word;
        } else if (c == '<' || c == '>' || c == '=' || c == '!') {
            if (end < sql.size() && (sql[end] == '=' || (c == '<' && sql[end] == '>'))) ++end;
            token.kind = Kind::Operator;
        }
        token.text = sql.substr(i, end - i);
        token.day = day;
        tokens.push_back(std::move(token));
        i = end;
    }
    return tokens;
}

bool IsOneCondition(const std::string& condition)
{
    std::vector<SqlToken> tokens;
    try {
        tokens = TokenizeSql(condition);
    } catch (const DatabaseError&) {
        return false;  // an unterminated literal swallows the rest
    }
    long depth = 0;
    std::string previous;
    for (const SqlToken& t : tokens) {
        if (t.kind != Kind::Punct) {
            previous.clear();
            continue;
        }
        const bool comment =
            (previous == "-" && t.text == "-") || (previous == "/" && t.text == "*");
        if (comment || t.text == ";") return false;
        if (t.text == "(") ++depth;
        if (t.text == ")" && --depth < 0) return false;
        previous = t.text;
    }
    return depth == 0;
}

std::string JoinTokens(const std::vector<SqlToken>& tokens)
{
    std::string out;
    for (const SqlToken& t : tokens) out += t.text;
    return out;
}

std::string TranslateSql(const std::string& sql)
{
    std::vector<SqlToken> t = TokenizeSql(sql);
    std::vector<SqlToken> out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const std::size_t op = Previous(t, i);
        const std::size_t operand = op == std::string::npos ? op : Previous(t, op);
        const bool comparedColumn =
            operand != std::string::npos && IsComparison(t[op]) &&
            (t[operand].kind == Kind::Word || t[operand].kind == Kind::Quoted) &&
            !IsKeyword(t[operand].text);
        if (t[i].kind == Kind::Date && comparedColumn) {
            // Replace "column op" already copied with the whole-day comparison.
            const std::size_t start = OperandStart(t, operand);
            std::string column;
            for (std::size_t k = start; k <= operand; ++k) column += t[k].text;
            std::size_t keep = out.size() - (i - start);
            out.resize(keep);
            out.push_back({Kind::Punct, WholeDayComparison(column, t[op].text, t[i].day)});
            continue;
        }
        if (t[i].kind == Kind::Date) {
            out.push_back({Kind::Number, Number(t[i].day)});
            continue;
        }
        const std::size_t next = Next(t, i);
        const bool infixNot =
            t[i].kind == Kind::Word && SameName(t[i].text, "NOT") && op != std::string::npos &&
            (t[op].kind == Kind::Word || t[op].kind == Kind::Quoted) && !IsKeyword(t[op].text) &&
            next != std::string::npos && IsLiteral(t[next]) && t[next].kind != Kind::Date;
        out.push_back(infixNot ? SqlToken{Kind::Operator, "<>"} : t[i]);
    }
    return JoinTokens(out);
}

std::string QuoteText(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string QuoteName(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

SingleTableQuery ParseSingleTableQuery(const std::string& translatedSql)
{
    SingleTableQuery result;
    std::vector<SqlToken> t = TokenizeSql(translatedSql);
    std::size_t i = Next(t, static_cast<std::size_t>(-1));
    if (i == std::string::npos || !SameName(t[i].text, "SELECT")) return result;
    std::vector<std::string> list;
    std::string item;
    for (i = Next(t, i); i != std::string::npos; i = Next(t, i)) {
        if (t[i].kind == Kind::Word && SameName(t[i].text, "FROM")) break;
        if (t[i].kind == Kind::Punct && t[i].text == ",") {
            list.push_back(item);
            item.clear();
            continue;
        }
        const bool plain = t[i].kind == Kind::Word || t[i].kind == Kind::Quoted ||
                           (t[i].kind == Kind::Punct && (t[i].text == "*" || t[i].text == "."));
        if (!plain || SameName(t[i].text, "DISTINCT") || SameName(t[i].text, "TOP") ||
            SameName(t[i].text, "AS"))
            return result;
        item += t[i].text;
    }
    if (i == std::string::npos || item.empty()) return result;
    list.push_back(item);
    const std::size_t tableIndex = Next(t, i);
    if (tableIndex == std::string::npos ||
        (t[tableIndex].kind != Kind::Word && t[tableIndex].kind != Kind::Quoted))
        return result;
    std::string table = t[tableIndex].text;
    if (t[tableIndex].kind == Kind::Quoted) table = table.substr(1, table.size() - 2);
    const std::size_t after = Next(t, tableIndex);
    if (after != std::string::npos) {
        const bool clause = t[after].kind == Kind::Word &&
                            (SameName(t[after].text, "WHERE") || SameName(t[after].text, "ORDER"));
        if (!clause) return result;
    }
    for (std::size_t k = tableIndex; k < t.size(); ++k) {
        const bool grouping = t[k].kind == Kind::Word &&
                              (SameName(t[k].text, "GROUP") || SameName(t[k].text, "UNION") ||
                               SameName(t[k].text, "HAVING") || SameName(t[k].text, "JOIN"));
        if (grouping) return result;
    }
    for (std::string& name : list) {
        // "tTable.column" and "tTable.*" name the table's own columns.
        const std::size_t dot = name.find('.');
        if (dot != std::string::npos) {
            if (!SameName(name.substr(0, dot), table)) return result;
            name = name.substr(dot + 1);
        }
    }
    result.table = table;
    result.selectList = list;
    bool ordering = false;
    for (std::size_t k = tableIndex; k < t.size(); ++k) {
        ordering = ordering || (t[k].kind == Kind::Word && SameName(t[k].text, "ORDER"));
        result.fromRest += t[k].text;
        if (!ordering) result.whereRest += t[k].text;
    }
    return result;
}

std::string DeclaredTypeFor(SchemaType type, int size)
{
    switch (type) {
        case SchemaType::Long:
            return "LONG";
        case SchemaType::Text:
            return "TEXT(" + std::to_string(size > 0 ? size : 255) + ")";
        case SchemaType::Memo:
            return "LONGTEXT";
        case SchemaType::LongBinary:
            return "LONGBINARY";
        case SchemaType::Date:
            return "DATETIME";
        case SchemaType::YesNo:
            return "YESNO";
        default:
            return "";
    }
}

SchemaType SchemaTypeFromDeclared(const std::string& declared, int* size)
{
    if (size != nullptr) *size = 0;
    if (SameName(declared, "LONG")) return SchemaType::Long;
    if (SameName(declared, "LONGTEXT")) return SchemaType::Memo;
    if (SameName(declared, "LONGBINARY")) return SchemaType::LongBinary;
    if (SameName(declared, "DATETIME")) return SchemaType::Date;
    if (SameName(declared, "YESNO")) return SchemaType::YesNo;
    if (declared.size() > 5 && strncasecmp(declared.c_str(), "TEXT(", 5) == 0) {
        if (size != nullptr) *size = std::atoi(declared.c_str() + 5);
        return SchemaType::Text;
    }
    return SchemaType::Unknown;
}

}  // namespace lindor::db
