#include "run/Reader.h"

#include <signal.h>

#include <algorithm>
#include <cstdio>

#include "common/Clock.h"
#include "common/Engine.h"
#include "common/RandomData.h"
#include "run/OperationJournal.h"
#include "run/Operations.h"

namespace stress {
namespace {

using namespace lindor;

volatile sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = 1;
}

class Reader {
public:
    explicit Reader(const ReaderConfig& config)
        : config_(config),
          random_(config.seed),
          journal_(config.journal, config.errorLog),
          context_(OpenSession(config.database, op::kReaderLogin, op::kReaderPassword, 0))
    {
        Require(context_->OpenBugSet(eBug, nullptr, bugs_.put()), "ExeContext.OpenBugSet");
    }

    void Run()
    {
        // The run starts its workers once the list is open.
        std::printf("open\n");
        std::fflush(stdout);
        long reads = 0, failures = 0;
        while (stopRequested == 0) {
            // A client reads its list again now and then to show others' new bugs.
            if (reads % 5 == 0 && !RefreshList()) ++failures;
            if (!ReadOneRow()) ++failures;
            ++reads;
            if (reads % 3 == 1) {
                Pause();
            } else {
                SleepMs(random_.Between(20, 80));
            }
        }
        Record summary(op::kSummary);
        summary.SetNumber("reads", reads);
        summary.SetNumber("failedReads", failures);
        summary.SetNumber("largestList", largestList_);
        summary.SetNumber("busyWaits", static_cast<std::int64_t>(BusyWaits()));
        journal_.Append(summary);
    }

private:
    bool RefreshList()
    {
        Record r = journal_.Begin(op::kRefresh);
        if (journal_.Call(r, "BugSet.Refresh", bugs_->Refresh())) return true;
        journal_.Finish(r);
        return false;
    }

    // Moves to a random row and reads it, as a list drawing a line does.
    bool ReadOneRow()
    {
        Record r = journal_.Begin(op::kRead);
        std::int32_t count = 0;
        if (journal_.Call(r, "BugSet.Count", bugs_->get_Count(&count)))
            largestList_ = std::max<long>(largestList_, count);
        if (!OperationJournal::Failed(r) && count > 0) {
            const auto position = static_cast<std::int32_t>(random_.Between(0, count - 1));
            ComPtr<IBug> bug;
            std::string description;
            if (journal_.Call(r, "BugSet.Position", bugs_->put_Position(position)) &&
                journal_.Call(r, "BugSet.CurItem", bugs_->get_CurItem(bug.put())) && bug)
                journal_.Call(r, "Bug.Description", bug->get_Description(&description));
        }
        if (!OperationJournal::Failed(r)) return true;
        journal_.Finish(r);
        return false;
    }

    void Pause()
    {
        Record r = journal_.Begin(op::kPause);
        SleepMs(config_.pauseMs);
        journal_.Finish(r);
    }

    ReaderConfig config_;
    Random random_;
    OperationJournal journal_;
    ComPtr<IExeContext> context_;
    ComPtr<IBugSet> bugs_;
    long largestList_ = 0;
};

}  // namespace

int RunReader(const ReaderConfig& config)
{
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGTERM, &action, nullptr);
    try {
        Reader reader(config);
        reader.Run();
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "reader: %s\n", error.what());
        return 1;
    }
}

}  // namespace stress
