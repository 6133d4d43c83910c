#include "crash/CrashRun.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "common/Clock.h"
#include "common/FileChecks.h"
#include "common/Findings.h"
#include "common/Process.h"
#include "common/RandomData.h"
#include "crash/CrashCheck.h"
#include "crash/CrashChild.h"
#include "crash/CrashKinds.h"

namespace stress::crash {
namespace {

constexpr int kControlEvery = 8;  // every 8th run of a kind is not killed
constexpr int kChildTimeoutMs = 60000;

struct KindFigures {
    long runs = 0, controls = 0, kills = 0, insideTransaction = 0, finishedFirst = 0;
    std::map<Outcome, long> outcomes;
    double estimateUs = 0;  // how long the operation takes when nobody kills it
};

// One run of a child: what it prepared and answered, and whether it was killed.
struct Attempt {
    std::string kind, where;
    bool control = false, killed = false;
    Record ready, answer;
    StoredNames namesBefore;  // synchronisation only
};

bool JournalExists(const std::string& database)
{
    struct stat info {};
    return stat((database + "-journal").c_str(), &info) == 0 && info.st_size > 0;
}

class CrashTest {
public:
    explicit CrashTest(const CrashOptions& options) : options_(options), random_(options.seed)
    {
        if (options.database.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern =
                std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/nimbra-crash-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr)
                throw std::runtime_error("cannot make " + pattern);
            folder_ = pattern;
            database_ = folder_ + "/crash.mdb";
        } else {
            if (std::filesystem::exists(options.database))
                throw std::runtime_error(options.database +
                                         " exists; the test makes a new database file");
            database_ = std::filesystem::absolute(options.database).string();
            folder_ = database_ + ".run";
        }
        std::filesystem::create_directories(folder_ + "/home");
        std::filesystem::create_directories(folder_ + "/tmp");
        environment_ = {"NIMBRA_HOME=" + folder_ + "/home", "TMPDIR=" + folder_ + "/tmp"};
    }

    int Run()
    {
        std::printf("Crash test: %d kills, seed %llu, time limit %d s\nDatabase: %s\n",
                    options_.kills, static_cast<unsigned long long>(options_.seed),
                    options_.timeLimitSeconds, database_.c_str());
        std::fflush(stdout);
        Prepare();
        const std::int64_t deadline =
            MonotonicNs() + static_cast<std::int64_t>(options_.timeLimitSeconds) * 1000000000;
        for (long iteration = 1; kills_ < options_.kills && MonotonicNs() < deadline; ++iteration)
            RunOnce(iteration, kKinds[static_cast<std::size_t>(iteration) % kKinds.size()]);
        return Report();
    }

private:
    void Prepare()
    {
        ChildProcess setup({"setup", "--db", database_, "--seed", std::to_string(options_.seed),
                            "--sync-bugs", std::to_string(options_.syncBugs)},
                           environment_, true);
        std::string line;
        if (!setup.ReadLine(&line, 300000)) throw std::runtime_error("the setup did not finish");
        setup_ = Record::Parse(line);
        if (setup_.Get("op") != "setup")
            throw std::runtime_error("setup failed: " + setup_.Get("error"));
        setup.Wait();
    }

    std::vector<std::string> ChildArguments(const std::string& kind, long iteration)
    {
        std::vector<std::string> args = {
            "child",
            "--db",
            database_,
            "--op",
            kind,
            "--seed",
            std::to_string(options_.seed * 100000 + static_cast<unsigned long>(iteration)),
            "--tag",
            "c" + std::to_string(iteration),
            "--setup",
            setup_.Line()};
        if (!cleanupBugs_.empty()) {
            args.insert(args.end(), {"--cleanup-bugs", JoinIds(cleanupBugs_)});
            cleanupBugs_.clear();
        }
        if (!cleanupProjects_.empty()) {
            args.insert(args.end(), {"--cleanup-projects", JoinIds(cleanupProjects_)});
            cleanupProjects_.clear();
        }
        return args;
    }

    // Kills the child at a random moment of its operation: after a random
    // delay, or once its write transaction has begun (the journal exists).
    bool KillDuringOperation(ChildProcess& child, KindFigures& figures)
    {
        const auto window = static_cast<std::int64_t>(std::max(figures.estimateUs, 2000.0));
        if (random_.Chance(0.5)) {
            SleepUs(random_.Between(0, window * 6 / 5));
        } else {
            // From a random point in the first half of the operation on, the next moment a
            // write transaction has written to its journal.
            SleepUs(random_.Between(0, window / 2));
            const std::int64_t until = MonotonicNs() + (window * 3 + 1000000) * 1000;
            while (!JournalExists(database_) && MonotonicNs() < until) SleepUs(20);
            SleepUs(random_.Between(0, std::min<std::int64_t>(window / 4, 5000)));
        }
        ExitStatus status;
        if (child.TryWait(&status)) return false;
        child.Signal(SIGKILL);
        return true;
    }

    void RunOnce(long iteration, const std::string& kind)
    {
        KindFigures& figures = figures_[kind];
        Attempt attempt;
        attempt.kind = kind;
        attempt.where = kind + " run " + std::to_string(iteration);
        attempt.control = figures.runs++ % kControlEvery == 0;
        if (kind == kSynchronize)
            attempt.namesBefore =
                ReadStoredNames(SqliteFile(database_, SqliteFile::Mode::ReadOnly), setup_);
        ChildProcess child(ChildArguments(kind, iteration), environment_, true);
        std::string line;
        if (!child.ReadLine(&line, kChildTimeoutMs) || Record::Parse(line).Get("op") != "ready") {
            findings_.Add("every operation can be prepared", attempt.where + ": " + line);
            return;
        }
        attempt.ready = Record::Parse(line);
        if (!attempt.control) attempt.killed = KillDuringOperation(child, figures);
        if (child.ReadLine(&line, attempt.killed ? 200 : kChildTimeoutMs))
            attempt.answer = Record::Parse(line);
        if (!attempt.killed && attempt.answer.Get("op").empty()) {
            child.Signal(SIGKILL);
            findings_.Add("uninterrupted operations finish", attempt.where + " gave no answer");
        }
        const ExitStatus status = child.Wait();
        if (!attempt.killed && !status.Clean())
            findings_.Add("a program that is not killed ends cleanly",
                          attempt.where + " ended with " + status.Text());
        Assess(attempt, figures);
        Leftovers(attempt);
    }

    void Assess(const Attempt& attempt, KindFigures& figures)
    {
        const bool inside = attempt.killed && JournalExists(database_);
        const SqliteFile file(database_, SqliteFile::Mode::RollBackLeftovers);
        const Verdict verdict =
            Judge(attempt.kind, attempt.ready, setup_, attempt.namesBefore, file);
        lastOutcome_ = verdict.outcome;
        Count(attempt, verdict, inside, figures);
        const std::string answer = attempt.answer.Get("op");
        if (verdict.outcome == Outcome::Partial)
            findings_.Add(
                "an interrupted operation is wholly in the file or wholly absent",
                attempt.where + (attempt.killed ? " (killed)" : "") + ": " + verdict.detail);
        if (answer == "done" && verdict.outcome != Outcome::Whole)
            findings_.Add("an operation reported done is in the file",
                          attempt.where + ": " + verdict.detail);
        if (answer == "failed")
            findings_.Add("uninterrupted operations succeed",
                          attempt.where + ": " + attempt.answer.Get("error"));
        Findings fileFindings;
        CheckIntact(file, fileFindings);
        CheckCounters(file, fileFindings);
        CheckNoOrphans(file, fileFindings);
        findings_.Merge(fileFindings, "after " + attempt.where);
    }

    void Count(const Attempt& attempt, const Verdict& verdict, bool inside, KindFigures& figures)
    {
        ++figures.outcomes[verdict.outcome];
        figures.controls += attempt.control ? 1 : 0;
        figures.kills += attempt.killed ? 1 : 0;
        kills_ += attempt.killed ? 1 : 0;
        figures.insideTransaction += inside ? 1 : 0;
        if (!attempt.control && !attempt.killed) ++figures.finishedFirst;
        if (attempt.answer.Get("op") != "done" || attempt.killed) return;
        const double us = attempt.answer.Real("us");
        figures.estimateUs = figures.estimateUs == 0 ? us : 0.7 * figures.estimateUs + 0.3 * us;
    }

    // Rows this run left that later runs remove, so that the file stays small.
    void Leftovers(const Attempt& attempt)
    {
        const std::string& kind = attempt.kind;
        const Record& ready = attempt.ready;
        if (kind == kAddAttachment)
            cleanupBugs_.push_back(static_cast<std::int32_t>(ready.Number("bug")));
        if (kind == kDeleteBug && lastOutcome_ == Outcome::Absent)
            cleanupBugs_.push_back(static_cast<std::int32_t>(ready.Number("bug")));
        if (kind == kDeleteProject && lastOutcome_ == Outcome::Absent)
            cleanupProjects_.push_back(static_cast<std::int32_t>(ready.Number("project")));
    }

    int Report()
    {
        std::printf("%-14s %5s %8s %6s %8s %8s %6s %7s %8s %9s\n", "operation", "runs", "controls",
                    "kills", "in-trans", "finished", "whole", "absent", "partial", "typ. ms");
        long runs = 0, controls = 0, inside = 0, whole = 0, absent = 0, partial = 0;
        for (const char* kind : kKinds) {
            KindFigures& f = figures_[kind];
            std::printf("%-14s %5ld %8ld %6ld %8ld %8ld %6ld %7ld %8ld %9.1f\n", kind, f.runs,
                        f.controls, f.kills, f.insideTransaction, f.finishedFirst,
                        f.outcomes[Outcome::Whole], f.outcomes[Outcome::Absent],
                        f.outcomes[Outcome::Partial], f.estimateUs / 1000);
            runs += f.runs;
            controls += f.controls;
            inside += f.insideTransaction;
            whole += f.outcomes[Outcome::Whole];
            absent += f.outcomes[Outcome::Absent];
            partial += f.outcomes[Outcome::Partial];
        }
        std::printf(
            "kills: %ld (%ld inside a write transaction) in %ld runs (%ld not killed on "
            "purpose); outcomes: %ld whole, %ld absent, %ld partial\n",
            kills_, inside, runs, controls, whole, absent, partial);
        std::printf(
            "(in-trans: the killed program left a journal to roll back; finished: the "
            "operation ended before the kill came)\n");
        if (kills_ < options_.kills)
            std::printf("the time limit of %d s ended the test after %ld of %d kills\n",
                        options_.timeLimitSeconds, kills_, options_.kills);
        if (findings_.Clean()) {
            std::printf(
                "PASSED: after every kill the operation was wholly in the file or wholly "
                "absent, and the file was intact\n");
            if (!options_.keep) std::filesystem::remove_all(folder_);
            return 0;
        }
        findings_.Print(stdout);
        std::printf("FAILED: %zu problems; the files are kept in %s\n", findings_.Count(),
                    folder_.c_str());
        return 1;
    }

    CrashOptions options_;
    Random random_;
    std::string folder_, database_;
    std::vector<std::string> environment_;
    Record setup_;
    std::map<std::string, KindFigures> figures_;
    long kills_ = 0;
    Outcome lastOutcome_ = Outcome::Partial;
    std::vector<std::int32_t> cleanupBugs_, cleanupProjects_;
    Findings findings_;
};

}  // namespace

int RunCrashTest(const CrashOptions& options)
{
    CrashTest test(options);
    return test.Run();
}

}  // namespace stress::crash
