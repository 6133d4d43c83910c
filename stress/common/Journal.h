// Journals: one line per operation a process attempted, with what the engine
// answered. Fields are "name=value" pairs separated by tabs; tabs, line
// breaks and backslashes inside values are escaped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace stress {

class Record {
public:
    Record() = default;
    explicit Record(const std::string& op) { Set("op", op); }

    void Set(const std::string& key, const std::string& value);
    void Set(const std::string& key, const char* value) { Set(key, std::string(value)); }
    void SetNumber(const std::string& key, std::int64_t value);
    void SetReal(const std::string& key, double value);

    bool Has(const std::string& key) const;
    // Empty / 0 when the field is missing.
    std::string Get(const std::string& key) const;
    std::int64_t Number(const std::string& key) const;
    double Real(const std::string& key) const;

    std::string Line() const;
    static Record Parse(const std::string& line);

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

// Appends records to a file, each flushed as soon as it is written.
class JournalWriter {
public:
    explicit JournalWriter(const std::string& path);
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    void Append(const Record& record);

private:
    std::FILE* file_ = nullptr;
};

std::vector<Record> ReadJournal(const std::string& path);

// "a|b|c" lists inside one field.
std::string JoinList(const std::vector<std::string>& items, char separator = '|');
std::vector<std::string> SplitList(const std::string& text, char separator = '|');

}  // namespace stress
