// The crash test of the engine's multi-row operations.
//   nimbra_crash [--kills N] [--time-limit SECONDS] [--seed N] [--db PATH] [--quick] [--keep]
// The sub-commands "setup" and "child" are the test's own processes.
#include <cstdio>

#include "common/Options.h"
#include "crash/CrashChild.h"
#include "crash/CrashRun.h"

namespace {

using stress::Options;

const char* const kUsage =
    "usage: nimbra_crash [--kills N] [--time-limit SECONDS] [--seed N] [--db PATH] [--quick] "
    "[--keep]\n"
    "  Kills programs with SIGKILL at random moments inside the engine's multi-row\n"
    "  operations and checks after each kill that the operation is wholly in the file\n"
    "  or wholly absent and that the file is intact. Exits 1 when a check fails.\n"
    "  --quick: 30 kills, a smaller database (under 30 s).\n";

int Setup(const Options& options)
{
    options.RequireOnly({"db", "seed", "sync-bugs"});
    return stress::crash::RunSetup(options.Text("db"),
                                   static_cast<std::uint64_t>(options.Number("seed", 1)),
                                   static_cast<int>(options.Number("sync-bugs", 150)));
}

int Child(const Options& options)
{
    options.RequireOnly({"db", "op", "seed", "tag", "setup", "cleanup-bugs", "cleanup-projects"});
    stress::crash::ChildArgs args;
    args.database = options.Text("db");
    args.kind = options.Text("op");
    args.seed = static_cast<std::uint64_t>(options.Number("seed", 1));
    args.tag = options.Text("tag");
    args.setup = stress::Record::Parse(options.Text("setup"));
    args.cleanupBugs = stress::crash::SplitIds(options.Text("cleanup-bugs"));
    args.cleanupProjects = stress::crash::SplitIds(options.Text("cleanup-projects"));
    return stress::crash::RunChild(args);
}

int Run(const Options& options)
{
    options.RequireOnly({"kills", "time-limit", "seed", "db", "quick", "keep", "help"});
    if (options.Has("help")) {
        std::printf("%s", kUsage);
        return 0;
    }
    stress::crash::CrashOptions run;
    if (options.Has("quick")) {
        run.kills = 30;
        run.timeLimitSeconds = 18;
        run.syncBugs = 40;
    }
    run.kills = static_cast<int>(options.Number("kills", run.kills));
    run.timeLimitSeconds = static_cast<int>(options.Number("time-limit", run.timeLimitSeconds));
    run.seed = static_cast<std::uint64_t>(options.Number("seed", 1));
    run.database = options.Text("db");
    run.keep = options.Has("keep");
    if (run.kills < 1) throw stress::UsageError("--kills takes a positive number");
    return stress::crash::RunCrashTest(run);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "setup") return Setup(Options(argc, argv, 2, {}));
        if (command == "child") return Child(Options(argc, argv, 2, {}));
        return Run(Options(argc, argv, 1, {"quick", "keep", "help"}));
    } catch (const stress::UsageError& error) {
        std::fprintf(stderr, "%s\n%s", error.what(), kUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "nimbra_crash: %s\n", error.what());
        return 1;
    }
}
