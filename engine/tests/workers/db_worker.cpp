// A separate program that works on a database file, started by the tests to
// act as another team member's program.
//   db_worker nextid <db> <column> <count>   prints one allocated identifier per line
//   db_worker insert <db> <first-id> <count> adds bugs and prints "done <ms>"
//   db_worker hold <db> <seconds>           opens a cursor over every bug, reads a row
//                                           now and then, prints "open" then "closed"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "db/NextID.h"
#include "db/Recordset.h"

using namespace lindor;

namespace {

int AllocateIDs(const std::string& column, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::int32_t id = GetNextID(column);
        if (id == 0) return 1;
        std::printf("%d\n", id);
    }
    return 0;
}

int InsertBugs(int first, int count)
{
    const auto start = std::chrono::steady_clock::now();
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset bugs;
    bugs.Open("SELECT * FROM tBugReport WHERE BugID = 0", connection);
    for (int i = 0; i < count; ++i) {
        bugs.AddNew();
        bugs.Fields("BugID").SetValue(Variant::I4(first + i));
        bugs.Fields("SeverityName").SetValue(Variant::Text("Normal"));
        bugs.Fields("StatusName").SetValue(Variant::Text("New"));
        bugs.Fields("PriorityName").SetValue(Variant::Text("Low"));
        bugs.Fields("ReproductiveName").SetValue(Variant::Text("Always"));
        bugs.Fields("Description").SetValue(Variant::Text("from another program"));
        bugs.Fields("BugType").SetValue(Variant::I4(0));
        bugs.Update();
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("done %lld\n", static_cast<long long>(ms));
    return 0;
}

int HoldCursor(int seconds)
{
    db::Connection connection(db::ProcessConnectionString());
    db::Recordset bugs;
    bugs.Open("SELECT * FROM tBugReport ORDER BY BugID", connection);
    std::printf("open %ld\n", bugs.RecordCount());
    std::fflush(stdout);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long position = 1;
    while (std::chrono::steady_clock::now() < until) {
        if (bugs.RecordCount() > 0) {
            bugs.SetAbsolutePosition(position);
            (void)bugs.Fields("Description").Value();
            position = position % bugs.RecordCount() + 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::printf("closed\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    const std::string command = argv[1];
    db::SetProcessConnectionString(db::BuildConnectionString(argv[2]));
    try {
        if (command == "nextid" && argc == 5) return AllocateIDs(argv[3], std::atoi(argv[4]));
        if (command == "insert" && argc == 5)
            return InsertBugs(std::atoi(argv[3]), std::atoi(argv[4]));
        if (command == "hold" && argc == 4) return HoldCursor(std::atoi(argv[3]));
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "%s\n", error.description().c_str());
        return 1;
    }
    return 2;
}
