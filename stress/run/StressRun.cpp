#include "run/StressRun.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/Clock.h"
#include "common/Engine.h"
#include "common/FileChecks.h"
#include "common/Names.h"
#include "common/Process.h"
#include "db/Driver.h"
#include "run/ExpectedState.h"
#include "run/Figures.h"
#include "run/Operations.h"
#include "run/StateChecks.h"

namespace stress {
namespace {

using namespace lindor;

const char* const kChecks[] = {"file intact (integrity_check, foreign_key_check)",
                               "every tNextID counter above the largest identifier of its table",
                               "no identifier handed out twice",
                               "every operation reported done is in the file",
                               "every operation reported failed left nothing",
                               "no row that no operation reported",
                               "names stored in bugs match the records they name",
                               "a bug added through a bug set is in it once",
                               "no attachment without its bug",
                               "no available status without its rights row",
                               "no rights row without its role",
                               "no version without its project",
                               "no classification without its project",
                               "each user set up in the run has a role of its own",
                               "a failure carries a description for the caller",
                               "failures come only from contention",
                               "writers are not held up by an open bug list",
                               "the open bug list reads without failing",
                               "every process finished cleanly",
                               "journals consistent"};

struct RunFolder {
    std::string folder;
    std::string database;

    std::string Path(const std::string& name) const { return folder + "/" + name; }
    // A process's own error-log and temporary folders.
    std::vector<std::string> Environment(const std::string& process) const
    {
        const std::string home = Path(process);
        std::filesystem::create_directories(home + "/tmp");
        return {"NIMBRA_HOME=" + home, "TMPDIR=" + home + "/tmp"};
    }
};

RunFolder MakeRunFolder(const std::string& database)
{
    RunFolder run;
    // A server database is named by its address; the run's files go to a
    // temporary folder of their own.
    if (database.empty() || lindor::db::IsServerDataSource(database)) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/nimbra-stress-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
        run.folder = pattern;
        run.database = database.empty() ? run.folder + "/stress.mdb" : database;
        return run;
    }
    if (std::filesystem::exists(database))
        throw std::runtime_error(database + " exists; the run makes a new database file");
    run.database = std::filesystem::absolute(database).string();
    run.folder = run.database + ".run";
    std::filesystem::create_directories(run.folder);
    return run;
}

std::vector<std::string> AllStatuses()
{
    return {kStatuses.begin(), kStatuses.end()};
}

RolePlan ReaderRole()
{
    RolePlan role;
    for (const int project : kFirstProjects) {
        std::string flags(kRightColumns.size(), '0');
        flags[2] = '1';  // Read
        role.rights.push_back(RightPlan{project, flags, {}});
    }
    return role;
}

void PrepareUser(IExeContext& context, IAdmin& admin, const std::string& login,
                 const std::string& name, const std::string& password, const RolePlan& role,
                 JournalWriter& setup)
{
    const std::int32_t id = AddUser(context, login, name, password);
    Require(admin.SetUserRight(id, MakeRole(role).get()), "Admin.SetUserRight(" + login + ")");
    Record record(op::kSetupUser);
    record.Set("verdict", op::kDone);
    record.SetNumber("id", id);
    record.Set("login", login);
    record.Set("name", name);
    record.Set("role", role.Text());
    setup.Append(record);
}

// A new database with one user per worker, whose role may do everything in
// the two sample projects and add projects, and a user for the list reader.
void PrepareDatabase(const RunFolder& run, int workers)
{
    CreateDatabase(run.database);
    const ComPtr<IExeContext> context = OpenSession(run.database, "Admin", "", 0);
    const ComPtr<IAdmin> admin = Create<IAdmin>("Admin");
    JournalWriter setup(run.Path("setup.journal"));
    const RolePlan full = FullRole({1, 2}, true, AllStatuses());
    for (int i = 1; i <= workers; ++i)
        PrepareUser(*context, *admin, op::WorkerLogin(i), op::WorkerName(i), op::WorkerPassword(i),
                    full, setup);
    PrepareUser(*context, *admin, op::kReaderLogin, op::kReaderName, op::kReaderPassword,
                ReaderRole(), setup);
    Require(context->Close(), "ExeContext.Close");
}

std::unique_ptr<ChildProcess> StartReader(const RunFolder& run, const StressOptions& options)
{
    auto reader = std::make_unique<ChildProcess>(
        std::vector<std::string>{
            "reader", "--db", run.database, "--seed", std::to_string(options.seed), "--pause-ms",
            std::to_string(options.pauseMs), "--journal", run.Path("reader.journal")},
        run.Environment("reader"), true);
    std::string line;
    if (!reader->ReadLine(&line, 30000) || line != "open")
        throw std::runtime_error("the list reader did not open its bug set");
    return reader;
}

std::unique_ptr<ChildProcess> StartWorker(const RunFolder& run, const StressOptions& options,
                                          int index, std::int64_t deadlineNs)
{
    const std::string name = "w" + std::to_string(index);
    std::vector<std::string> environment = run.Environment(name);
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{"worker", "--db", run.database, "--index", std::to_string(index),
                                 "--ops", std::to_string(options.operations), "--seed",
                                 std::to_string(options.seed * 1000 + static_cast<unsigned>(index)),
                                 "--project", std::to_string(kFirstProjects[(index - 1) % 2]),
                                 "--deadline-ns", std::to_string(deadlineNs), "--max-attachment-kb",
                                 std::to_string(options.maxAttachmentKB), "--journal",
                                 run.Path(name + ".journal"), "--scratch", run.Path(name + "/tmp")},
        environment, false);
}

std::unique_ptr<ChildProcess> StartLockHolder(const RunFolder& run, const StressOptions& options)
{
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{"hold", "--db", run.database, "--after-ms", "0", "--hold-ms",
                                 std::to_string(options.holdLockMs), "--journal",
                                 run.Path("holder.journal")},
        run.Environment("holder"), false);
}

// How many operations the workers have journaled so far.
long JournaledOperations(const RunFolder& run, int workers)
{
    long lines = 0;
    for (int i = 1; i <= workers; ++i) {
        std::FILE* file = std::fopen(run.Path("w" + std::to_string(i) + ".journal").c_str(), "r");
        if (file == nullptr) continue;
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) lines += c == '\n' ? 1 : 0;
        std::fclose(file);
    }
    return lines;
}

// Waits for every worker; those still running at `hardLimitNs` are killed.
// The lock holder starts once the workers have done a third of their work.
void WaitForWorkers(const RunFolder& run, const StressOptions& options,
                    std::vector<std::unique_ptr<ChildProcess>>& workers,
                    std::unique_ptr<ChildProcess>& holder, std::int64_t hardLimitNs,
                    Findings& findings)
{
    const long holdFrom = static_cast<long>(options.workers) * options.operations / 3;
    std::vector<bool> finished(workers.size(), false);
    for (std::size_t left = workers.size(); left > 0;) {
        if (!holder && options.holdLockMs > 0 &&
            JournaledOperations(run, options.workers) >= holdFrom)
            holder = StartLockHolder(run, options);
        for (std::size_t i = 0; i < workers.size(); ++i) {
            ExitStatus status;
            if (finished[i] || !workers[i]->TryWait(&status)) continue;
            finished[i] = true;
            --left;
            if (!status.Clean())
                findings.Add("every process finished cleanly",
                             "worker " + std::to_string(i + 1) + " ended with " + status.Text());
        }
        if (left > 0 && MonotonicNs() > hardLimitNs) {
            for (std::size_t i = 0; i < workers.size(); ++i)
                if (!finished[i])
                    findings.Add("every process finished cleanly",
                                 "worker " + std::to_string(i + 1) + " did not finish in time");
            return;  // the destructors kill them
        }
        usleep(50000);
    }
}

void StopReader(ChildProcess& reader, Findings& findings)
{
    reader.Signal(SIGTERM);
    std::string ignored;
    reader.ReadLine(&ignored, 20000);  // returns when the reader's output closes
    const ExitStatus status = reader.Wait();
    if (!status.Clean())
        findings.Add("every process finished cleanly", "the reader ended with " + status.Text());
}

RunJournals ReadJournals(const RunFolder& run, int workers)
{
    RunJournals journals;
    for (int i = 1; i <= workers; ++i)
        journals.workers.push_back(ReadJournal(run.Path("w" + std::to_string(i) + ".journal")));
    journals.reader = ReadJournal(run.Path("reader.journal"));
    if (std::filesystem::exists(run.Path("holder.journal")))
        journals.holder = ReadJournal(run.Path("holder.journal"));
    return journals;
}

template <class Map>
long Live(const Map& objects)
{
    long n = 0;
    for (const auto& entry : objects) n += entry.second.live ? 1 : 0;
    return n;
}

// What the file was compared with, and how much of it was lost, duplicated
// or left behind.
void PrintRowFigures(const ExpectedState& expected, const Findings& findings)
{
    long versions = 0;
    for (const auto& entry : expected.projects)
        if (entry.second.live) versions += static_cast<long>(entry.second.versions.size());
    std::printf(
        "Rows\n  the journals imply %ld bugs, %ld attachments, %ld projects with %ld "
        "versions, %zu classifications, %zu users\n",
        Live(expected.bugs), Live(expected.attachments), Live(expected.projects), versions,
        expected.classifications.size(), expected.users.size());
    std::printf(
        "  lost or not as reported: %zu; left by failed operations: %zu; in the file "
        "unreported: %zu; identifiers handed out twice: %zu\n",
        findings.Count(kDoneInFile), findings.Count(kFailedLeftNothing),
        findings.Count(kNoUnreported), findings.Count(kHandedOutTwice));
}

void CheckRun(const RunFolder& run, const RunJournals& journals, Findings& findings)
{
    ExpectedState expected;
    expected.ApplyJournal(ReadJournal(run.Path("setup.journal")), "setup", findings);
    for (std::size_t i = 0; i < journals.workers.size(); ++i)
        expected.ApplyJournal(journals.workers[i], "w" + std::to_string(i + 1), findings);
    const SqliteFile file(run.database, SqliteFile::Mode::ReadOnly);
    CheckIntact(file, findings);
    CheckCounters(file, findings);
    CheckNoOrphans(file, findings);
    CheckIdentifiersUnique(expected, findings);
    CheckStateAgainstJournals(expected, file, findings);
    PrintRowFigures(expected, findings);
}

void PrintChecks(const Findings& findings)
{
    std::printf("Checks\n");
    for (const char* check : kChecks)
        if (!findings.Has(check)) std::printf("  ok     %s\n", check);
    findings.Print(stdout);
}

}  // namespace

int RunStress(const StressOptions& options)
{
    const RunFolder run = MakeRunFolder(options.database);
    for (const std::string& entry : run.Environment("main")) {
        const std::size_t equals = entry.find('=');
        setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
    std::printf(
        "Stress run: %d workers x %d operations, seed %llu, time limit %d s, write lock "
        "held by another program for %d ms\n",
        options.workers, options.operations, static_cast<unsigned long long>(options.seed),
        options.timeLimitSeconds, options.holdLockMs);
    std::printf("Database: %s\n", run.database.c_str());
    std::fflush(stdout);

    Findings findings;
    PrepareDatabase(run, options.workers);
    std::unique_ptr<ChildProcess> reader = StartReader(run, options);
    const std::int64_t deadline =
        MonotonicNs() + static_cast<std::int64_t>(options.timeLimitSeconds) * 1000000000;
    std::vector<std::unique_ptr<ChildProcess>> workers;
    for (int i = 1; i <= options.workers; ++i)
        workers.push_back(StartWorker(run, options, i, deadline));
    std::unique_ptr<ChildProcess> holder;
    WaitForWorkers(run, options, workers, holder, deadline + 60LL * 1000000000, findings);
    workers.clear();
    StopReader(*reader, findings);
    if (holder) {
        const ExitStatus status = holder->Wait();
        if (!status.Clean())
            findings.Add("every process finished cleanly",
                         "the lock holder ended with " + status.Text());
    }

    const RunJournals journals = ReadJournals(run, options.workers);
    ReportFigures(journals, findings, stdout);
    CheckRun(run, journals, findings);
    PrintChecks(findings);
    if (!findings.Clean()) {
        std::printf("FAILED: %zu problems; the run's files are kept in %s\n", findings.Count(),
                    run.folder.c_str());
        return 1;
    }
    if (options.keep) {
        std::printf("PASSED; the run's files are kept in %s\n", run.folder.c_str());
    } else {
        // A database the caller named stays; only the run's own files go.
        std::filesystem::remove_all(run.folder);
        std::printf("PASSED\n");
    }
    return 0;
}

}  // namespace stress
