// The benchmarks' baseline: the same work as the engine's, written as plain
// statements through the database's driver (SQLite's C library for a file,
// libpq for a server), so each figure compares the engine with what the
// database itself needs, on either kind of database. Any failure ends the
// benchmark.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "db/Driver.h"

namespace lindor {

class Plain {
public:
    explicit Plain(const std::string& dataSource) : driver_(db::OpenDriverConnection(dataSource)) {}

    void Exec(const std::string& sql)
    {
        Guard([&] { driver_->Execute(sql); }, sql);
    }
    void BeginWrite()
    {
        Guard([&] { driver_->BeginWrite(); }, "BEGIN");
    }
    db::DriverStatement* Prepare(const std::string& sql)
    {
        db::DriverStatement* s = nullptr;
        Guard([&] { s = &driver_->Prepare(sql); }, sql);
        return s;
    }
    void Step(db::DriverStatement* s)
    {
        Guard([&] { s->Step(); }, "a statement");
        s->Reset();
    }
    db::DriverConnection& driver() { return *driver_; }

    // Runs a query and reads every column of every row, as a list reads rows.
    std::size_t Read(const std::string& sql)
    {
        db::DriverStatement* s = Prepare(sql);
        std::size_t n = 0;
        while (s->Step()) n += ConsumeRow(s);
        s->Reset();
        return n;
    }

    static std::size_t ConsumeRow(db::DriverStatement* s)
    {
        std::size_t bytes = 0;
        for (int i = 0; i < s->ColumnCount(); ++i) {
            if (s->ColumnType(i) == db::StoredType::Text)
                bytes += s->ColumnText(i).size();
            else
                bytes += static_cast<std::size_t>(s->ColumnReal(i));
        }
        return bytes + 1;
    }

    std::vector<std::int64_t> Column(const std::string& sql)
    {
        db::DriverStatement* s = Prepare(sql);
        std::vector<std::int64_t> values;
        while (s->Step()) values.push_back(s->ColumnInteger(0));
        s->Reset();
        return values;
    }

private:
    template <typename Work>
    static void Guard(Work work, const std::string& what)
    {
        try {
            work();
        } catch (const DatabaseError& error) {
            std::fprintf(stderr, "database: %s in %s\n", error.description().c_str(), what.c_str());
            std::exit(1);
        }
    }

    std::unique_ptr<db::DriverConnection> driver_;
};

}  // namespace lindor
