#include "common/Journal.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace stress {
namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

}  // namespace

void Record::Set(const std::string& key, const std::string& value)
{
    for (auto& field : fields_) {
        if (field.first == key) {
            field.second = value;
            return;
        }
    }
    fields_.emplace_back(key, value);
}

void Record::SetNumber(const std::string& key, std::int64_t value)
{
    Set(key, std::to_string(value));
}

void Record::SetReal(const std::string& key, double value)
{
    char text[40];
    std::snprintf(text, sizeof(text), "%.17g", value);
    Set(key, text);
}

bool Record::Has(const std::string& key) const
{
    for (const auto& field : fields_)
        if (field.first == key) return true;
    return false;
}

std::string Record::Get(const std::string& key) const
{
    for (const auto& field : fields_)
        if (field.first == key) return field.second;
    return std::string();
}

std::int64_t Record::Number(const std::string& key) const
{
    return std::strtoll(Get(key).c_str(), nullptr, 10);
}

double Record::Real(const std::string& key) const
{
    return std::strtod(Get(key).c_str(), nullptr);
}

std::string Record::Line() const
{
    std::string line;
    for (const auto& field : fields_) {
        if (!line.empty()) line += '\t';
        line += field.first + "=" + Escape(field.second);
    }
    return line;
}

Record Record::Parse(const std::string& line)
{
    Record record;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find('\t', start);
        if (end == std::string::npos) end = line.size();
        const std::string field = line.substr(start, end - start);
        const std::size_t equals = field.find('=');
        if (equals != std::string::npos)
            record.fields_.emplace_back(field.substr(0, equals),
                                        Unescape(field.substr(equals + 1)));
        start = end + 1;
    }
    return record;
}

JournalWriter::JournalWriter(const std::string& path) : file_(std::fopen(path.c_str(), "a"))
{
    if (file_ == nullptr) throw std::runtime_error("cannot write the journal " + path);
}

JournalWriter::~JournalWriter()
{
    if (file_ != nullptr) std::fclose(file_);
}

void JournalWriter::Append(const Record& record)
{
    const std::string line = record.Line() + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

std::vector<Record> ReadJournal(const std::string& path)
{
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read the journal " + path);
    std::vector<Record> records;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) records.push_back(Record::Parse(line));
    return records;
}

std::string JoinList(const std::vector<std::string>& items, char separator)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) text += separator;
        text += items[i];
    }
    return text;
}

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> items;
    if (text.empty()) return items;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        items.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return items;
}

}  // namespace stress
