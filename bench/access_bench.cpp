// Times the access layer's cursor over a large bug table beside the
// database's own statements doing the same reads in the same process, and
// prints ratios.
//   access_bench [rows] [--db DATA-SOURCE]      (default 100000 rows)
// --db: a file path that does not exist yet, or a server address
// (postgresql://user@host:port/dbname) whose schema holds no tables; by
// default a file in a temporary folder.
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
#include "plainstatements.h"
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

void Fill(Plain& plain, int rows)
{
    plain.BeginWrite();
    db::DriverStatement* insert = plain.Prepare(
        "INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, "
        "ReproductiveName, Description, Report, ReportedBy, ReportedByID, "
        "ReportedDate, ReportedInVersionID, BugType) VALUES "
        "(?,?,?,?,?,?,?,?,?,?,?,?)");
    const char* statuses[] = {"Active", "New", "Resolved", "Waiting", "Verified"};
    const char* priorities[] = {"High", "Low", "Normal"};
    const char* severities[] = {"Crash", "Critical", "Moderate", "Normal", "Trivial"};
    std::mt19937 random(42);
    std::string memo;
    for (int i = 0; i < 300; ++i) memo += "The list stops redrawing after the filter changes. ";
    for (int id = 1; id <= rows; ++id) {
        const std::string description = "Bug " + std::to_string(id) + ": window " +
                                        std::to_string(random() % 500) + " does not refresh";
        insert->BindInteger(1, id);
        insert->BindText(2, severities[random() % 5]);
        insert->BindText(3, statuses[random() % 5]);
        insert->BindText(4, priorities[random() % 3]);
        insert->BindText(5, "Always");
        insert->BindText(6, description);
        if (id % 10 == 0)
            insert->BindText(7, memo);
        else
            insert->BindNull(7);
        insert->BindText(8, "Tester");
        insert->BindInteger(9, 1 + id % 20);
        insert->BindReal(10, 40000.0 + id / 100.0);
        insert->BindInteger(11, 1 + id % 4);
        insert->BindInteger(12, id % 2);
        plain.Step(insert);
    }
    plain.Exec("COMMIT");
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

void Report(const char* what, double ours, double plain)
{
    std::printf("%-38s %10.3f ms %10.3f ms %8.2fx\n", what, ours, plain,
                plain > 0 ? ours / plain : 0.0);
}

}  // namespace

int main(int argc, char** argv)
{
    int rows = 100000;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--db" && i + 1 < argc)
            path = argv[++i];
        else if (std::atoi(arg.c_str()) > 0)
            rows = std::atoi(arg.c_str());
        else {
            std::fprintf(stderr, "usage: %s [rows] [--db DATA-SOURCE]\n", argv[0]);
            return 2;
        }
    }
    char folder[] = "/tmp/access-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    const bool ownFile = path.empty();
    if (ownFile) path = std::string(folder) + "/bench.mdb";
    if (!CreateDB(path)) return 1;
    Plain plain(path);
    const auto fillStart = Clock::now();
    Fill(plain, rows);
    std::printf("database of %d bugs built in %.0f ms\n", rows,
                std::chrono::duration<double, std::milli>(Clock::now() - fillStart).count());

    db::Connection connection(db::BuildConnectionString(path));
    const std::string query = "SELECT * FROM tBugReport ORDER BY BugID";
    std::printf("%-38s %13s %13s %9s\n", "operation", "engine", "plain", "ratio");

    const long rssBefore = CurrentKB();
    db::Recordset rs;
    const double openOurs = Millis([&] {
        rs.Open(query, connection);
        volatile long n = rs.RecordCount();
        (void)n;
    });
    const long rssOpen = CurrentKB();
    const double openPlain = Millis([&] { plain.Read("SELECT count(*) FROM tBugReport"); });
    Report("open cursor + row count", openOurs, openPlain);

    const double firstOurs = Millis([&] {
        rs.Requery();
        for (int i = 1; i <= 50; ++i) {
            rs.SetAbsolutePosition(i);
            ConsumeRow(rs);
        }
    });
    const double firstPlain = Millis([&] {
        plain.Read("SELECT count(*) FROM tBugReport");
        plain.Read(query + " LIMIT 50");
    });
    Report("first screen: reopen + count + 50 rows", firstOurs, firstPlain);

    // Each timed round reads other rows, so no round is served from the
    // cursor's cache of a previous one.
    std::vector<long> positions;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) positions.push_back(1 + static_cast<long>(random() % rows));
    int round = 0;
    // The baseline is given the keys for free.
    const std::vector<std::int64_t> keys =
        plain.Column("SELECT rowid FROM tBugReport ORDER BY BugID");
    const double randomOurs = Millis([&] {
        for (int i = 0; i < 1000; ++i) {
            rs.SetAbsolutePosition(positions[static_cast<std::size_t>(round * 1000 + i)]);
            ConsumeRow(rs);
        }
        ++round;
    });
    round = 0;
    db::DriverStatement* byKey = plain.Prepare("SELECT * FROM tBugReport WHERE rowid = ?");
    const double randomPlain = Millis([&] {
        for (int i = 0; i < 1000; ++i) {
            const long p = positions[static_cast<std::size_t>(round * 1000 + i)];
            byKey->BindInteger(1, keys[static_cast<std::size_t>(p - 1)]);
            if (byKey->Step()) Plain::ConsumeRow(byKey);
            byKey->Reset();
        }
        ++round;
    });
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
        plain.Column(
            "SELECT rowid FROM tBugReport WHERE StatusName = 'Active' AND (PriorityName = "
            "'High' OR ReportedDate < 40179) ORDER BY BugID");
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
        Millis([&] { plain.Read("SELECT * FROM tBugReport WHERE " + findCriterion); });
    Report("find a row near the end", findOurs, findPlain);

    std::printf(
        "\nresident memory: %ld KB before the cursor, %ld KB with it open (%.1f bytes per row)\n",
        rssBefore, rssOpen, rows > 0 ? (rssOpen - rssBefore) * 1024.0 / rows : 0.0);
    std::printf("peak resident memory: %ld KB\n", PeakKB());
    rs.Close();
    connection.Close();
    if (ownFile) std::remove(path.c_str());
    rmdir(folder);
    return 0;
}
