// The multi-process stress run of the engine.
//   nimbra_stress [--workers N] [--ops N] [--db PATH|ADDRESS] [--seed N] [--time-limit SECONDS]
//                 [--max-attachment-kb N] [--hold-lock-ms N] [--quick] [--keep]
// The sub-commands "worker", "reader" and "hold" are the run's own processes.
#include <cstdio>
#include <cstdlib>

#include "common/Options.h"
#include "run/LockHolder.h"
#include "run/Reader.h"
#include "run/StressRun.h"
#include "run/Worker.h"

namespace {

using stress::Options;

const char* const kUsage =
    "usage: nimbra_stress [--workers 4..8] [--ops N] [--db PATH|ADDRESS] [--seed N]\n"
    "                     [--time-limit SECONDS] [--max-attachment-kb N] [--hold-lock-ms N]\n"
    "                     [--quick] [--keep]\n"
    "  Creates a database, lets N worker processes and one list reader work on it at\n"
    "  once while another program holds the write lock for a while (--hold-lock-ms,\n"
    "  0: never), then checks the file against what every process reported. Exits 1\n"
    "  when a check fails. --quick: 4 workers x 40 operations, small attachments.\n"
    "  --db: a new file, or a server's postgresql:// address whose schema holds no tables.\n";

std::string ErrorLogOf()
{
    const char* home = std::getenv("NIMBRA_HOME");
    return std::string(home != nullptr ? home : ".") + "/Err.log";
}

int Worker(const Options& options)
{
    options.RequireOnly({"db", "index", "ops", "seed", "project", "deadline-ns",
                         "max-attachment-kb", "journal", "scratch"});
    stress::WorkerConfig config;
    config.database = options.Text("db");
    config.index = static_cast<int>(options.Number("index", 1));
    config.operations = static_cast<int>(options.Number("ops", 0));
    config.seed = static_cast<std::uint64_t>(options.Number("seed", 1));
    config.project = static_cast<std::int32_t>(options.Number("project", 1));
    config.deadlineNs = options.Number("deadline-ns", 0);
    config.maxAttachmentKB = static_cast<int>(options.Number("max-attachment-kb", 512));
    config.journal = options.Text("journal");
    config.scratch = options.Text("scratch");
    config.errorLog = ErrorLogOf();
    return stress::RunWorker(config);
}

int Reader(const Options& options)
{
    options.RequireOnly({"db", "seed", "pause-ms", "journal"});
    stress::ReaderConfig config;
    config.database = options.Text("db");
    config.seed = static_cast<std::uint64_t>(options.Number("seed", 1));
    config.pauseMs = static_cast<int>(options.Number("pause-ms", 500));
    config.journal = options.Text("journal");
    config.errorLog = ErrorLogOf();
    return stress::RunReader(config);
}

int Hold(const Options& options)
{
    options.RequireOnly({"db", "after-ms", "hold-ms", "journal"});
    stress::LockHolderConfig config;
    config.database = options.Text("db");
    config.afterMs = static_cast<int>(options.Number("after-ms", 1000));
    config.holdMs = static_cast<int>(options.Number("hold-ms", 12000));
    config.journal = options.Text("journal");
    return stress::RunLockHolder(config);
}

int Run(const Options& options)
{
    options.RequireOnly({"workers", "ops", "db", "seed", "time-limit", "max-attachment-kb",
                         "hold-lock-ms", "quick", "keep", "help"});
    if (options.Has("help")) {
        std::printf("%s", kUsage);
        return 0;
    }
    stress::StressOptions run;
    if (options.Has("quick")) {
        run.workers = 4;
        run.operations = 40;
        run.timeLimitSeconds = 25;
        run.maxAttachmentKB = 64;
        run.pauseMs = 300;
    }
    run.workers = static_cast<int>(options.Number("workers", run.workers));
    run.operations = static_cast<int>(options.Number("ops", run.operations));
    run.database = options.Text("db");
    run.seed = static_cast<std::uint64_t>(options.Number("seed", static_cast<long>(run.seed)));
    run.timeLimitSeconds = static_cast<int>(options.Number("time-limit", run.timeLimitSeconds));
    run.maxAttachmentKB =
        static_cast<int>(options.Number("max-attachment-kb", run.maxAttachmentKB));
    run.holdLockMs = static_cast<int>(options.Number("hold-lock-ms", run.holdLockMs));
    run.keep = options.Has("keep");
    if (run.workers < 4 || run.workers > 8) throw stress::UsageError("--workers takes 4 to 8");
    if (run.operations < 1) throw stress::UsageError("--ops takes a positive number");
    return stress::RunStress(run);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "worker") return Worker(Options(argc, argv, 2, {}));
        if (command == "reader") return Reader(Options(argc, argv, 2, {}));
        if (command == "hold") return Hold(Options(argc, argv, 2, {}));
        return Run(Options(argc, argv, 1, {"quick", "keep", "help"}));
    } catch (const stress::UsageError& error) {
        std::fprintf(stderr, "%s\n%s", error.what(), kUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "nimbra_stress: %s\n", error.what());
        return 1;
    }
}
