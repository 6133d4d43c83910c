// Fuzz target for criterion texts and date literals: the dialect translation,
// then the same text as a filter and a find on a cursor over real rows. Any
// text must either work or fail with a DatabaseError; nothing else may happen.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "db/Dialect.h"
#include "db/Recordset.h"
#include "schema/CreateDB.h"

using namespace lindor;

namespace {

struct Fixture {
    std::string folder;
    std::unique_ptr<db::Connection> connection;
    std::unique_ptr<db::Recordset> bugs;

    Fixture()
    {
        char name[] = "/tmp/criterion-fuzz-XXXXXX";
        folder = mkdtemp(name);
        const std::string path = folder + "/fuzz.mdb";
        if (!CreateDB(path)) std::abort();
        connection = std::make_unique<db::Connection>(db::BuildConnectionString(path));
        db::Recordset add;
        add.Open("SELECT * FROM tBugReport WHERE BugID = 0", *connection);
        for (int id = 1; id <= 20; ++id) {
            add.AddNew();
            add.Fields("BugID").SetValue(Variant::I4(id));
            add.Fields("SeverityName").SetValue(Variant::Text("Normal"));
            add.Fields("StatusName").SetValue(Variant::Text(id % 2 ? "New" : "Active"));
            add.Fields("PriorityName").SetValue(Variant::Text("High"));
            add.Fields("ReproductiveName").SetValue(Variant::Text("Always"));
            add.Fields("Description").SetValue(Variant::Text("bug " + std::to_string(id)));
            add.Fields("ReportedDate").SetValue(Variant::Date(38000 + id));
            add.Fields("BugType").SetValue(Variant::I4(id % 2));
            add.Update();
        }
        bugs = std::make_unique<db::Recordset>();
        bugs->Open("SELECT * FROM tBugReport ORDER BY BugID", *connection);
    }
    ~Fixture()
    {
        bugs.reset();
        connection.reset();
        std::system(("rm -rf '" + folder + "'").c_str());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        (void)db::TranslateSql(text);
    } catch (const DatabaseError&) {
    }
    try {
        fixture.bugs->SetFilter(text);
        if (fixture.bugs->RecordCount() > 20) std::abort();  // a filter can only narrow
    } catch (const DatabaseError&) {
    }
    try {
        fixture.bugs->SetFilter("");
        fixture.bugs->MoveFirst();
        (void)fixture.bugs->Find(text);
    } catch (const DatabaseError&) {
    }
    if (fixture.connection->database().InTransaction()) std::abort();
    return 0;
}
