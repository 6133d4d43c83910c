// Times the access layer's cursor over a large bug table beside the plain
// SQLite C API doing the same reads in the same process, and prints ratios.
//   access_bench [rows]      (default 100000)
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "schema/CreateDB.h"

using namespace lindor;
using Clock = std::chrono::steady_clock;

namespace {

double Millis(const std::function<void()>& work, int repeat = 5)
{
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long PeakKB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentKB()
{
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f != nullptr) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void Check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

void Fill(const std::string& path, int rows)
{
    sqlite3* db = nullptr;
    Check(sqlite3_open(path.c_str(), &db), db);
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    Check(
        sqlite3_prepare_v2(db,
                           "INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
                           "ReproductiveName, Description, Report, ReportedBy, ReportedByID, "
                           "ReportedDate, ReportedInVersionID, BugType) VALUES "
                           "(?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &insert, nullptr),
        db);
    const char* statuses[] = {"Active", "New", "Resolved", "Waiting", "Verified"};
    const char* priorities[] = {"High", "Low", "Normal"};
    const char* severities[] = {"Crash", "Critical", "Moderate", "Normal", "Trivial"};
    std::mt19937 random(42);
    std::string memo;
    for (int i = 0; i < 300; ++i) memo += "The list stops redrawing after the filter changes. ";
    for (int id = 1; id <= rows; ++id) {
        const std::string description = "Bug " + std::to_string(id) + ": window " +
                                        std::to_string(random() % 500) + " does not refresh";
        sqlite3_bind_int(insert, 1, id);
        sqlite3_bind_text(insert, 2, severities[random() % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, statuses[random() % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, priorities[random() % 3], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, "Always", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, description.c_str(), -1, SQLITE_TRANSIENT);
        if (id % 10 == 0)
            sqlite3_bind_text(insert, 7, memo.c_str(), static_cast<int>(memo.size()),
                              SQLITE_STATIC);
        else
            sqlite3_bind_null(insert, 7);
        sqlite3_bind_text(insert, 8, "Tester", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 9, 1 + id % 20);
        sqlite3_bind_double(insert, 10, 40000.0 + id / 100.0);
        sqlite3_bind_int(insert, 11, 1 + id % 4);
        sqlite3_bind_int(insert, 12, id % 2);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// Reads every column of the current statement row, as a list shows a row.
std::size_t ConsumeRow(sqlite3_stmt* s)
{
    std::size_t bytes = 0;
    for (int i = 0; i < sqlite3_column_count(s); ++i) {
        if (sqlite3_column_type(s, i) == SQLITE_TEXT)
            bytes += std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, i))).size();
        else
            bytes += static_cast<std::size_t>(sqlite3_column_int64(s, i));
    }
    return bytes;
}

std::size_t ConsumeRow(db::Recordset& rs)
{
    std::size_t bytes = 0;
    for (int i = 0; i < rs.FieldCount(); ++i) {
        const Variant v = rs.Fields(i).Value();
        bytes += v.vt() == VT_BSTR ? v.text().size() : static_cast<std::size_t>(v.i4());
    }
    return bytes;
}

std::size_t PlainQuery(sqlite3* db, const std::string& sql, bool consume)
{
    sqlite3_stmt* s = nullptr;
    Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr), db);
    std::size_t n = 0;
    while (sqlite3_step(s) == SQLITE_ROW) n += consume ? ConsumeRow(s) : 1;
    sqlite3_finalize(s);
    return n;
}

void Report(const char* what, double ours, double plain)
{
    std::printf("%-38s %10.3f ms %10.3f ms %8.2fx\n", what, ours, plain,
                plain > 0 ? ours / plain : 0.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    char folder[] = "/tmp/access-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    const std::string path = std::string(folder) + "/bench.mdb";
    if (!CreateDB(path)) return 1;
    const auto fillStart = Clock::now();
    Fill(path, rows);
    std::printf("database of %d bugs built in %.0f ms\n", rows,
                std::chrono::duration<double, std::milli>(Clock::now() - fillStart).count());

    sqlite3* plain = nullptr;
    Check(sqlite3_open_v2(path.c_str(), &plain, SQLITE_OPEN_READONLY, nullptr), plain);
    db::Connection connection(db::BuildConnectionString(path));
    const std::string query = "SELECT * FROM tBugReport ORDER BY BugID";
    std::printf("%-38s %13s %13s %9s\n", "operation", "engine", "plain SQLite", "ratio");

    const long rssBefore = CurrentKB();
    db::Recordset rs;
    const double openOurs = Millis([&] {
        rs.Open(query, connection);
        volatile long n = rs.RecordCount();
        (void)n;
    });
    const long rssOpen = CurrentKB();
    const double openPlain =
        Millis([&] { PlainQuery(plain, "SELECT count(*) FROM tBugReport", false); });
    Report("open cursor + row count", openOurs, openPlain);

    const double firstOurs = Millis([&] {
        rs.Requery();
        for (int i = 1; i <= 50; ++i) {
            rs.SetAbsolutePosition(i);
            ConsumeRow(rs);
        }
    });
    const double firstPlain = Millis([&] {
        PlainQuery(plain, "SELECT count(*) FROM tBugReport", false);
        PlainQuery(plain, query + " LIMIT 50", true);
    });
    Report("first screen: reopen + count + 50 rows", firstOurs, firstPlain);

    // Each timed round reads other rows, so no round is served from the
    // cursor's cache of a previous one.
    std::vector<long> positions;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) positions.push_back(1 + static_cast<long>(random() % rows));
    int round = 0;
    std::vector<std::int64_t> keys;  // the baseline is given the keys for free
    {
        sqlite3_stmt* s = nullptr;
        Check(sqlite3_prepare_v2(plain, "SELECT rowid FROM tBugReport ORDER BY BugID", -1, &s,
                                 nullptr),
              plain);
        while (sqlite3_step(s) == SQLITE_ROW) keys.push_back(sqlite3_column_int64(s, 0));
        sqlite3_finalize(s);
    }
    const double randomOurs = Millis([&] {
        for (int i = 0; i < 1000; ++i) {
            rs.SetAbsolutePosition(positions[static_cast<std::size_t>(round * 1000 + i)]);
            ConsumeRow(rs);
        }
        ++round;
    });
    round = 0;
    sqlite3_stmt* byKey = nullptr;
    Check(
        sqlite3_prepare_v2(plain, "SELECT * FROM tBugReport WHERE rowid = ?", -1, &byKey, nullptr),
        plain);
    const double randomPlain = Millis([&] {
        for (int i = 0; i < 1000; ++i) {
            const long p = positions[static_cast<std::size_t>(round * 1000 + i)];
            sqlite3_bind_int64(byKey, 1, keys[static_cast<std::size_t>(p - 1)]);
            if (sqlite3_step(byKey) == SQLITE_ROW) ConsumeRow(byKey);
            sqlite3_reset(byKey);
        }
        ++round;
    });
    sqlite3_finalize(byKey);
    Report("1000 random positions, whole rows", randomOurs, randomPlain);

    const double countOurs = Millis([&] {
        volatile long n = rs.RecordCount();
        (void)n;
    });
    Report("row count of the open cursor", countOurs, openPlain);

    const std::string criterion =
        "StatusName = 'Active' AND (PriorityName = 'High' OR ReportedDate < 1/1/2010)";
    const double filterOurs = Millis([&] {
        rs.SetFilter(criterion);
        volatile long n = rs.RecordCount();
        (void)n;
    });
    const double filterPlain = Millis([&] {
        PlainQuery(plain,
                   "SELECT rowid FROM tBugReport WHERE StatusName = 'Active' AND (PriorityName = "
                   "'High' OR ReportedDate < 40179) ORDER BY BugID",
                   false);
    });
    Report("filter criterion", filterOurs, filterPlain);
    rs.SetFilter("");

    const std::string findCriterion = "BugID=" + std::to_string(rows - 1);
    const double findOurs = Millis([&] {
        rs.MoveFirst();
        rs.Find(findCriterion);
        ConsumeRow(rs);
    });
    const double findPlain =
        Millis([&] { PlainQuery(plain, "SELECT * FROM tBugReport WHERE " + findCriterion, true); });
    Report("find a row near the end", findOurs, findPlain);

    std::printf(
        "\nresident memory: %ld KB before the cursor, %ld KB with it open (%.1f bytes per row)\n",
        rssBefore, rssOpen, rows > 0 ? (rssOpen - rssBefore) * 1024.0 / rows : 0.0);
    std::printf("peak resident memory: %ld KB\n", PeakKB());
    rs.Close();
    sqlite3_close(plain);
    connection.Close();
    std::remove(path.c_str());
    rmdir(folder);
    return 0;
}
