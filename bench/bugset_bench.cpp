// Times the engine's bug set and attachments over a large database beside
// the database's own statements (and zlib) doing the same work in the same
// run, and prints the ratios and the memory used.
//   bugset_bench [--bugs N] [--attachments N] [--file-mb N] [--writes N] [--keep]
//                [--db DATA-SOURCE]
// --db: where the database is made: a file path that does not exist yet, or
// a server address (postgresql://user@host:port/dbname) whose schema holds no
// tables; by default a file in a temporary folder.
// Defaults: 100000 bugs, 10000 of them with an attachment, a 50 MB file, 1000
// bugs added and 1000 updated. Every add and update is a commit of its own,
// so on a disk that syncs slowly the writes dominate the run time.
// A smoke run takes seconds:
//   bugset_bench --bugs 2000 --attachments 200 --file-mb 2 --writes 20
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <lindor/Interfaces.h>

#include "attachments/ZipArchive.h"
#include "core/ClassRegistry.h"
#include "plainstatements.h"
#include "schema/CreateDB.h"

using namespace lindor;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    int bugs = 100000;
    int attachments = 10000;
    int fileMB = 50;
    int writes = 1000;  // bugs added, and bugs updated
    bool keep = false;
    std::string database;  // empty: a file in the work folder
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bugs" && hasValue)
            options.bugs = std::atoi(argv[++i]);
        else if (arg == "--attachments" && hasValue)
            options.attachments = std::atoi(argv[++i]);
        else if (arg == "--file-mb" && hasValue)
            options.fileMB = std::atoi(argv[++i]);
        else if (arg == "--writes" && hasValue)
            options.writes = std::atoi(argv[++i]);
        else if (arg == "--keep")
            options.keep = true;
        else if (arg == "--db" && hasValue)
            options.database = argv[++i];
        else {
            std::fprintf(
                stderr,
                "usage: %s [--bugs N] [--attachments N] [--file-mb N] [--writes N] [--keep] "
                "[--db DATA-SOURCE]\n",
                argv[0]);
            std::exit(2);
        }
    }
    options.attachments = std::min(options.attachments, options.bugs);
    return options;
}

[[noreturn]] void Die(const std::string& why)
{
    std::fprintf(stderr, "bugset_bench: %s\n", why.c_str());
    std::exit(1);
}

void Require(HRESULT result, const char* what)
{
    if (Failed(result)) Die(std::string(what) + " failed");
}

double MillisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr int kRepeat = 9;

// Runs the engine's work and plain SQLite's in turns, `kRepeat` times each,
// so that a machine busy with other work weighs on both alike; gives the
// median time of each. Every run gets its number (runs may read other rows).
std::pair<double, double> Alternating(const std::function<void(int)>& engine,
                                      const std::function<void(int)>& plain)
{
    std::vector<double> engineTimes, plainTimes;
    for (int run = 0; run < kRepeat; ++run) {
        auto start = Clock::now();
        engine(run);
        engineTimes.push_back(MillisSince(start));
        start = Clock::now();
        plain(run);
        plainTimes.push_back(MillisSince(start));
    }
    std::sort(engineTimes.begin(), engineTimes.end());
    std::sort(plainTimes.begin(), plainTimes.end());
    return {engineTimes[kRepeat / 2], plainTimes[kRepeat / 2]};
}

// Runs `count` single writes of the engine and of plain SQLite in ten turns
// each, alternately, so that the disk's varying speed weighs on both alike;
// gives the total time of each.
std::pair<double, double> InTurns(int count, const std::function<void(int)>& engine,
                                  const std::function<void(int)>& plain)
{
    constexpr int kTurns = 10;
    double engineMs = 0, plainMs = 0;
    for (int turn = 0; turn < kTurns; ++turn) {
        const int first = count * turn / kTurns;
        const int last = count * (turn + 1) / kTurns;
        auto start = Clock::now();
        for (int i = first; i < last; ++i) engine(i);
        engineMs += MillisSince(start);
        start = Clock::now();
        for (int i = first; i < last; ++i) plain(i);
        plainMs += MillisSince(start);
    }
    return {engineMs, plainMs};
}

double Once(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return MillisSince(start);
}

long PeakKB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long ResidentKB()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void Report(const char* what, double engine, double plain)
{
    std::printf("%-44s %10.2f ms %10.2f ms %7.2fx\n", what, engine, plain,
                plain > 0 ? engine / plain : 0.0);
}

void Report(const char* what, const std::pair<double, double>& times)
{
    Report(what, times.first, times.second);
}

// ---- the database -----------------------------------------------------------

const char* const kStatuses[] = {"Active", "New", "Resolved", "Waiting", "Verified"};
const char* const kPriorities[] = {"High", "Low", "Normal"};
const char* const kSeverities[] = {"Crash", "Critical", "Moderate", "Normal", "Trivial"};

// Most bugs are in project 1 (versions 1 and 2), every tenth in project 2;
// every fifth is a feature request.
int VersionOf(int id)
{
    return id % 10 == 0 ? 3 : 1 + id % 2;
}
int TypeOf(int id)
{
    return id % 5 == 0 ? eFeature : eBug;
}

// A user "bench" (no password) whose role may do everything in project 1.
void AddBenchUser(Plain& plain)
{
    plain.Exec("INSERT INTO tUserRight (UserRightID, AddProject) VALUES (1, 1)");
    plain.Exec("INSERT INTO tRight (RightID, UserRightID, ProjectID) VALUES (1, 1, 1)");
    std::string flags;
    for (const db::CatalogColumn& column : plain.driver().TableColumns("tRight"))
        if (column.declaredType == "YESNO")
            flags += std::string(flags.empty() ? "" : ", ") + "\"" + column.name + "\" = 1";
    plain.Exec("UPDATE tRight SET " + flags);
    plain.Exec(
        "INSERT INTO tUser (UserID, UserRightID, UserName, LoginName) VALUES (2, 1, 'Bench', "
        "'bench')");
}

void StoreBugs(Plain& plain, int count)
{
    db::DriverStatement* insert = plain.Prepare(
        "INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, ReproductiveName, "
        "Description, Report, ReportedBy, ReportedByID, ReportedDate, ReportedInPrjID, "
        "ReportedInVersionID, BugType) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    std::mt19937 random(42);
    std::string report;
    for (int i = 0; i < 20; ++i) report += "The list stops redrawing after the filter changes. ";
    for (int id = 1; id <= count; ++id) {
        const std::string description = "Bug " + std::to_string(id) + ": window " +
                                        std::to_string(random() % 500) + " does not refresh";
        insert->BindInteger(1, id);
        insert->BindText(2, kSeverities[random() % 5]);
        insert->BindText(3, kStatuses[random() % 5]);
        insert->BindText(4, kPriorities[random() % 3]);
        insert->BindText(5, "Always");
        insert->BindText(6, description);
        insert->BindText(7, report);
        insert->BindText(8, "Tester");
        insert->BindInteger(9, 1);
        insert->BindReal(10, 38000.0 + id / 20.0);
        insert->BindInteger(11, VersionOf(id) <= 2 ? 1 : 2);
        insert->BindInteger(12, VersionOf(id));
        insert->BindInteger(13, TypeOf(id));
        plain.Step(insert);
    }
}

// One attachment (a small archive made once) for each of the first `count`
// bugs of every tenth number.
void AddAttachments(Plain& plain, int count, int bugs, const std::string& folder)
{
    std::string text;
    for (int i = 0; i < 60; ++i) text += "step " + std::to_string(i) + ": click, wait, look\n";
    const std::string source = folder + "steps.txt";
    const std::string archive = folder + "steps.zip";
    if (!WriteFileBytes(source, text.data(), text.size()).ok() ||
        !MakeSingleEntryArchive(source, archive).ok())
        Die("cannot make the sample attachment");
    const auto bytes = ReadFileBytes(archive);
    db::DriverStatement* insert = plain.Prepare(
        "INSERT INTO tAttachment (AttachmentID, BugID, FileName, FileSize, FileDate, FileData) "
        "VALUES (?,?,?,?,?,?)");
    for (int i = 0; i < count; ++i) {
        const int bug = 1 + (i * 10) % bugs;
        insert->BindInteger(1, i + 1);
        insert->BindInteger(2, bug);
        insert->BindText(3, "steps.txt");
        insert->BindInteger(4, static_cast<int>(text.size()));
        insert->BindReal(5, 40000.5);
        insert->BindBlob(6, bytes.value);
        plain.Step(insert);
    }
    std::remove(source.c_str());
    std::remove(archive.c_str());
}

void BuildDatabase(const std::string& path, const std::string& folder, const Options& options)
{
    if (!CreateDB(path)) Die("cannot create " + path);
    Plain plain(path);
    plain.BeginWrite();
    AddBenchUser(plain);
    StoreBugs(plain, options.bugs);
    AddAttachments(plain, options.attachments, options.bugs, folder);
    plain.Exec("UPDATE tNextID SET NextBugID = " + std::to_string(options.bugs + 1) +
               ", NextAttachmentID = " + std::to_string(options.attachments + 1));
    plain.Exec("COMMIT");
}

// ---- the engine -------------------------------------------------------------

template <class I>
ComPtr<I> Create(const char* className)
{
    ComPtr<I> object;
    Require(ClassRegistry::Create(className, I::IID, object.put_void()), className);
    return object;
}

std::size_t ConsumeBug(IBug* bug)
{
    if (bug == nullptr) Die("no bug at a row that should have one");
    std::string text;
    std::size_t bytes = 0;
    std::int32_t number = 0;
    Date date = 0;
    for (auto getter : {&IBug::get_Description, &IBug::get_Status, &IBug::get_Priority,
                        &IBug::get_Severity, &IBug::get_ReportedBy, &IBug::get_ReportedInVersion}) {
        (bug->*getter)(&text);
        bytes += text.size();
    }
    bug->get_ID(&number);
    bug->get_ReportedDate(&date);
    return bytes + static_cast<std::size_t>(number) + static_cast<std::size_t>(date);
}

std::size_t ConsumeCurrent(IBugSet* bugs)
{
    ComPtr<IBug> bug;
    Require(bugs->get_CurItem(bug.put()), "CurItem");
    return ConsumeBug(bug.get());
}

std::size_t FirstScreen(IBugSet* bugs)
{
    std::int32_t count = 0;
    Require(bugs->get_Count(&count), "Count");
    std::size_t bytes = static_cast<std::size_t>(count);
    for (std::int32_t i = 0; i < std::min(count, 50); ++i) {
        Require(bugs->put_Position(i), "Position");
        bytes += ConsumeCurrent(bugs);
    }
    return bytes;
}

ComPtr<IBugFilterSet> ThreeConditions()
{
    ComPtr<IBugFilterSet> set = Create<IBugFilterSet>("Lindor.BugFilterSet.1");
    const auto add = [&](const char* field, eLogCondition condition, const Variant& value) {
        ComPtr<IBugFilter> filter = Create<IBugFilter>("Lindor.BugFilter.1");
        filter->put_Field(field);
        filter->put_Condition(condition);
        Require(filter->put_Value(value), "filter value");
        set->Add(filter.get());
    };
    add("StatusName", Equal, Variant::Text("Active"));
    add("PriorityName", Equal, Variant::Text("High"));
    add("ReportedDate", LessThan, Variant::Date(38000.0 + 1500.0));  // 1/12/2008
    return set;
}

ComPtr<IBug> NewBug(int n)
{
    ComPtr<IBug> bug = Create<IBug>("Lindor.Bug.1");
    bug->put_Description("Added bug " + std::to_string(n));
    bug->put_Status("New");
    bug->put_Priority("Normal");
    bug->put_Severity("Moderate");
    bug->put_Reproductive("Sometimes");
    Require(bug->put_ReportedInVersionID(1), "ReportedInVersionID");
    bug->put_ReportedInProjectID(1);
    bug->put_ReportedDate(45000.25);
    return bug;
}

// ---- the runs -----------------------------------------------------------------

const std::string kScope = "(ReportedInVersionID = 1 OR ReportedInVersionID = 2) AND BugType = 0";

void ListFirstScreen(IExeContext* context, Plain& plain, ComPtr<IBugSet>* kept)
{
    Report(
        "OpenBugSet + Count + first 50 rows",
        Alternating(
            [&](int) {
                ComPtr<IBugSet> bugs;
                Require(context->OpenBugSet(eBug, nullptr, bugs.put()), "OpenBugSet");
                FirstScreen(bugs.get());
            },
            [&](int) {
                plain.Read("SELECT count(*) FROM tBugReport WHERE " + kScope);
                plain.Read("SELECT * FROM tBugReport WHERE " + kScope + " ORDER BY BugID LIMIT 50");
            }));
    Require(context->OpenBugSet(eBug, nullptr, kept->put()), "OpenBugSet");
}

void RandomRows(IBugSet* bugs, Plain& plain)
{
    std::int32_t count = 0;
    Require(bugs->get_Count(&count), "Count");
    // Every run reads other rows, so none is served from an earlier run's reads.
    std::mt19937 random(7);
    std::vector<std::int32_t> positions;
    for (int i = 0; i < kRepeat * 1000; ++i)
        positions.push_back(static_cast<std::int32_t>(random() % count));
    // The plain side is given the ordered keys for free.
    const std::vector<std::int64_t> keys =
        plain.Column("SELECT rowid FROM tBugReport WHERE " + kScope + " ORDER BY BugID");
    db::DriverStatement* byKey = plain.Prepare("SELECT * FROM tBugReport WHERE rowid = ?");
    Report("1,000 random Position + CurItem",
           Alternating(
               [&](int run) {
                   for (int i = 0; i < 1000; ++i) {
                       Require(
                           bugs->put_Position(positions[static_cast<std::size_t>(run * 1000 + i)]),
                           "Position");
                       ConsumeCurrent(bugs);
                   }
               },
               [&](int run) {
                   for (int i = 0; i < 1000; ++i) {
                       const std::int32_t p = positions[static_cast<std::size_t>(run * 1000 + i)];
                       byKey->BindInteger(1, keys[static_cast<std::size_t>(p)]);
                       if (byKey->Step()) Plain::ConsumeRow(byKey);
                       byKey->Reset();
                   }
               }));
}

void SortByText(IBugSet* bugs, Plain& plain)
{
    Report("Sort by StatusName + Count + first 50 rows",
           Alternating(
               [&](int run) {
                   Require(bugs->Sort(ColStatus, run % 2 == 0 ? eAsc : eDesc), "Sort");
                   FirstScreen(bugs);
               },
               [&](int run) {
                   plain.Read("SELECT count(*) FROM tBugReport WHERE " + kScope);
                   plain.Read("SELECT * FROM tBugReport WHERE " + kScope + " ORDER BY StatusName " +
                              (run % 2 == 0 ? "ASC" : "DESC") + " LIMIT 50");
               }));
    Require(bugs->Sort(ColID, eAsc), "Sort");
}

void FilterThreeConditions(IBugSet* bugs, Plain& plain)
{
    const ComPtr<IBugFilterSet> filter = ThreeConditions();
    const std::string where = "WHERE " + kScope +
                              " AND StatusName = 'Active' AND PriorityName = 'High' AND "
                              "ReportedDate < 39500";
    Report("FilterSet of 3 conditions + Count + 50 rows",
           Alternating(
               [&](int) {
                   Require(bugs->put_FilterSet(filter.get()), "FilterSet");
                   FirstScreen(bugs);
               },
               [&](int) {
                   plain.Read("SELECT count(*) FROM tBugReport " + where);
                   plain.Read("SELECT * FROM tBugReport " + where + " ORDER BY BugID LIMIT 50");
               }));
    Require(bugs->put_FilterSet(nullptr), "FilterSet");
}

void FindLastBug(IBugSet* bugs, Plain& plain, int lastID)
{
    Report("GetBugByID of the last bug",
           Alternating(
               [&](int) {
                   ComPtr<IBug> bug;
                   Require(bugs->GetBugByID(lastID, bug.put()), "GetBugByID");
                   ConsumeBug(bug.get());
               },
               [&](int) {
                   plain.Read("SELECT * FROM tBugReport WHERE BugID = " + std::to_string(lastID));
               }));
}

void AddBugs(IBugSet* bugs, Plain& plain, int count, int firstPlainID)
{
    // The same work: take a number under the write lock, then store the row.
    db::DriverStatement* read = plain.Prepare("SELECT NextBugID FROM tNextID");
    db::DriverStatement* bump = plain.Prepare("UPDATE tNextID SET NextBugID = ?");
    db::DriverStatement* insert = plain.Prepare(
        "INSERT INTO tBugReport (BugID, SeverityName, StatusName, PriorityName, ReproductiveName, "
        "Description, ReportedInPrjID, ReportedInVersionID, ReportedInVersion, ReportedDate, "
        "ReportedByID, ClassID, FixedByID, FixedInVersionID, VerifiedByID, LastModifiedByID, "
        "FixedDate, VerifiedDate, LastModifiedDate, EstimatedTime, DateDue, BugType) "
        "VALUES (?,?,?,?,?,?,1,1,'Version 1.0',45000.25,0,0,0,0,0,0,0,0,0,0,0,0)");
    const auto times = InTurns(
        count,
        [&](int i) {
            ComPtr<IBug> added;
            Require(bugs->Add(NewBug(i).get(), added.put()), "Add");
        },
        [&](int i) {
            plain.BeginWrite();
            read->Step();
            const std::int64_t next = read->ColumnInteger(0);
            read->Reset();
            bump->BindInteger(1, next + 1);
            plain.Step(bump);
            plain.Exec("COMMIT");
            const std::string description = "Added bug " + std::to_string(i);
            insert->BindInteger(1, firstPlainID + i);
            insert->BindText(2, "Moderate");
            insert->BindText(3, "New");
            insert->BindText(4, "Normal");
            insert->BindText(5, "Sometimes");
            insert->BindText(6, description);
            plain.Step(insert);
        });
    Report(("Add of " + std::to_string(count) + " bugs").c_str(), times);
}

void UpdateBugs(IBugSet* bugs, Plain& plain, int count, int bugCount)
{
    std::vector<int> ids;  // spread over the whole set, all in the scope
    const std::size_t wanted = static_cast<std::size_t>(count);
    for (int id = 1; ids.size() < wanted && id <= bugCount;
         id += std::max(1, bugCount / (2 * count)))
        if (VersionOf(id) <= 2 && TypeOf(id) == eBug) ids.push_back(id);
    db::DriverStatement* read = plain.Prepare("SELECT * FROM tBugReport WHERE BugID = ?");
    db::DriverStatement* write =
        plain.Prepare("UPDATE tBugReport SET Resolution = ? WHERE BugID = ?");
    const auto times = InTurns(
        static_cast<int>(ids.size()),
        [&](int i) {
            ComPtr<IBug> bug;
            Require(bugs->GetBugByID(ids[static_cast<std::size_t>(i)], bug.put()), "GetBugByID");
            bug->put_Resolution("Fixed in run one");
            Require(bugs->Update(bug.get()), "Update");
        },
        [&](int i) {
            read->BindInteger(1, ids[static_cast<std::size_t>(i)]);
            if (read->Step()) Plain::ConsumeRow(read);
            read->Reset();
            write->BindText(1, "Fixed in run two");
            write->BindInteger(2, ids[static_cast<std::size_t>(i)]);
            plain.Step(write);
        });
    Report(("GetBugByID + Update of one column, " + std::to_string(ids.size()) + " bugs").c_str(),
           times);
}

// ---- attachments ----------------------------------------------------------------

// Log-like text with numbers: compresses about as well as real attachments do.
std::string SampleFile(std::size_t size)
{
    std::mt19937 random(11);
    std::string bytes;
    bytes.reserve(size + 128);
    while (bytes.size() < size)
        bytes += "2026-12-08 01:" + std::to_string(random() % 60) + ":" +
                 std::to_string(random() % 60) + " worker " + std::to_string(random() % 64) +
                 " handled request " + std::to_string(random()) + " in " +
                 std::to_string(random() % 5000) + " us\n";
    bytes.resize(size);
    return bytes;
}

// The sample deflated by zlib alone, and how long that took.
struct Deflated {
    std::vector<Bytef> packed;
    double deflateMs = 0;
};

Deflated DeflateAlone(const std::string& bytes)
{
    Deflated result;
    result.packed.resize(compressBound(bytes.size()));
    uLongf packedSize = result.packed.size();
    result.deflateMs = Once([&] {
        if (compress2(result.packed.data(), &packedSize,
                      reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(),
                      Z_DEFAULT_COMPRESSION) != Z_OK)
            Die("zlib compress failed");
    });
    result.packed.resize(packedSize);
    result.packed.shrink_to_fit();
    std::printf("(the sample of %zu bytes deflates to %lu bytes)\n", bytes.size(),
                static_cast<unsigned long>(packedSize));
    return result;
}

// zlib alone inflating the sample into memory.
void InflateAlone(const Deflated& deflated, std::vector<Bytef>* unpacked)
{
    uLongf unpackedSize = unpacked->size();
    if (uncompress(unpacked->data(), &unpackedSize, deflated.packed.data(),
                   deflated.packed.size()) != Z_OK ||
        unpackedSize != unpacked->size())
        Die("zlib uncompress failed");
}

// GetFile of the stored sample and zlib inflating it alone, in turns. Each
// fetch writes a new file; each inflate fills the same buffer, made (and
// touched) once beforehand.
std::pair<double, double> FetchAlternating(IFile* file, const std::string& back,
                                           const Deflated& zlib, const std::string& bytes)
{
    std::vector<Bytef> unpacked(bytes.size());
    const std::pair<double, double> times = Alternating(
        [&](int) {
            std::remove(back.c_str());
            Require(file->GetFile(back), "File.GetFile");
        },
        [&](int) { InflateAlone(zlib, &unpacked); });
    if (std::memcmp(unpacked.data(), bytes.data(), bytes.size()) != 0)
        Die("zlib round trip differs");
    return times;
}

void LargeAttachment(IBugSet* bugs, const std::string& folder, int megabytes)
{
    const std::string bytes = SampleFile(static_cast<std::size_t>(megabytes) * 1024 * 1024);
    const std::string source = folder + "large.log";
    const std::string back = folder + "large-back.log";
    if (!WriteFileBytes(source, bytes.data(), bytes.size()).ok()) Die("cannot write the sample");
    ComPtr<IBug> bug;
    Require(bugs->GetBugByID(1, bug.put()), "GetBugByID");
    ComPtr<IFileSet> files;
    Require(bug->get_AttachedFiles(files.put()), "AttachedFiles");
    const Deflated zlib = DeflateAlone(bytes);
    ComPtr<IFile> file;
    const double added = Once([&] { Require(files->Add(source, file.put()), "FileSet.Add"); });
    Report(("FileSet.Add of " + std::to_string(megabytes) + " MB vs deflate").c_str(), added,
           zlib.deflateMs);
    const std::pair<double, double> fetched = FetchAlternating(file.get(), back, zlib, bytes);
    Report(("File.GetFile of " + std::to_string(megabytes) + " MB vs inflate").c_str(), fetched);
    Report("  Add + GetFile vs deflate + inflate", added + fetched.first,
           zlib.deflateMs + fetched.second);
    const auto returned = ReadFileBytes(back);
    if (!returned.ok() || returned.value.size() != bytes.size() ||
        std::memcmp(returned.value.data(), bytes.data(), bytes.size()) != 0)
        Die("the attachment did not come back byte for byte");
    std::remove(source.c_str());
    std::remove(back.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/bugset-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) Die("cannot make a work folder");
    const std::string folder = pattern + "/";
    const std::string path = options.database.empty() ? folder + "bench.mdb" : options.database;
    const bool onServer = db::IsServerDataSource(path);

    const auto buildStart = Clock::now();
    BuildDatabase(path, folder, options);
    std::printf("database of %d bugs (%d with an attachment) built in %.0f ms\n", options.bugs,
                options.attachments, MillisSince(buildStart));

    ComPtr<IExeContext> context = Create<IExeContext>("Lindor.ExeContext.1");
    Require(context->OpenAccessDB(path), "OpenAccessDB");
    Require(context->Login("bench", ""), "Login");
    Require(context->SetActiveProject(1, 0), "SetActiveProject");
    Plain plain(path);

    std::printf("%-44s %13s %13s %8s\n", "operation", "engine", "plain", "ratio");
    const long residentBefore = ResidentKB();
    ComPtr<IBugSet> bugs;
    ListFirstScreen(context.get(), plain, &bugs);
    std::int32_t shown = 0;
    Require(bugs->get_Count(&shown), "Count");
    const long residentOpen = ResidentKB();
    RandomRows(bugs.get(), plain);
    const long residentRead = ResidentKB();
    SortByText(bugs.get(), plain);
    FilterThreeConditions(bugs.get(), plain);
    int lastInScope = options.bugs;
    while (lastInScope > 1 && (VersionOf(lastInScope) > 2 || TypeOf(lastInScope) != eBug))
        --lastInScope;
    FindLastBug(bugs.get(), plain, lastInScope);
    AddBugs(bugs.get(), plain, options.writes, options.bugs + 100000);
    UpdateBugs(bugs.get(), plain, options.writes, options.bugs);
    const long peakBugs = PeakKB();
    LargeAttachment(bugs.get(), folder, options.fileMB);

    // The keys of every row are the one part that grows with the number of
    // rows; the row cache and SQLite's page cache have fixed bounds.
    std::printf(
        "\nresident memory: %ld KB before the bug set, %ld KB with %d rows open "
        "(+%ld KB), %ld KB after %d random rows (+%ld KB); all keys take %ld KB\n",
        residentBefore, residentOpen, shown, residentOpen - residentBefore, residentRead,
        kRepeat * 1000, residentRead - residentBefore, static_cast<long>(shown) * 8 / 1024);
    std::printf("peak resident memory: %ld KB after the bug set runs, %ld KB at the end\n",
                peakBugs, PeakKB());

    bugs = nullptr;
    context->Close();
    context = nullptr;
    if (!options.keep && !onServer) std::remove(path.c_str());
    if (options.keep) std::printf("database kept at %s\n", path.c_str());
    rmdir(pattern.c_str());
    return 0;
}
