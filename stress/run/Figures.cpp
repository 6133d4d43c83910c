#include "run/Figures.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>

#include "common/Clock.h"
#include "common/ErrorLogTail.h"
#include "run/Operations.h"

namespace stress {
namespace {

const char* const kBusy = "busy past the timeout";

const std::set<std::string> kWriteOperations = {
    op::kAddBug,        op::kUpdateBug,        op::kDeleteBug,
    op::kAddAttachment, op::kRemoveAttachment, op::kAddProject,
    op::kUpdateProject, op::kDeleteProject,    op::kAddClassification,
    op::kAddUser,       op::kSetRole,          op::kSynchronize};

bool IsOperation(const Record& r)
{
    return r.Has("verdict");
}
bool IsFailure(const Record& r)
{
    return r.Get("verdict") == op::kFailed;
}
std::int64_t Duration(const Record& r)
{
    return r.Number("t1") - r.Number("t0");
}

double Percentile(std::vector<std::int64_t> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return Millis(values[std::min(at, values.size() - 1)]);
}

std::int64_t SummaryNumber(const std::vector<Record>& journal, const char* key)
{
    for (const Record& r : journal)
        if (r.Get("op") == op::kSummary) return r.Number(key);
    return 0;
}

// "op: caller text <- causes in the log" for grouping failures.
std::string FailureKey(const Record& r)
{
    std::string causes;
    for (std::string entry : SplitList(r.Get("log"), '|')) {
        while (!entry.empty() && entry.front() == ' ') entry.erase(0, 1);
        while (!entry.empty() && entry.back() == ' ') entry.pop_back();
        const std::string cause = CauseOf(entry);
        if (causes.find(cause) == std::string::npos)
            causes += (causes.empty() ? "" : " / ") + cause;
    }
    std::string key = r.Get("op") + " at " + r.Get("step") + ": \"" + r.Get("error") + "\"";
    if (!causes.empty()) key += " <- " + causes;
    // Some descriptions end in a line break; the figures show one line each.
    for (std::size_t at = key.find('\n'); at != std::string::npos; at = key.find('\n', at))
        key.replace(at, 1, "\\n");
    return key;
}

// How long, between `from` and `to`, another program held the write lock.
double HeldSeconds(const RunJournals& journals, std::int64_t from, std::int64_t to)
{
    std::int64_t held = 0;
    for (const Record& hold : journals.holder)
        if (hold.Get("op") == op::kHold && !IsFailure(hold))
            held += std::max<std::int64_t>(
                0, std::min(to, hold.Number("t1")) - std::max(from, hold.Number("t0")));
    return Seconds(held);
}

void ReportThroughput(const RunJournals& journals, std::FILE* out)
{
    std::int64_t first = std::numeric_limits<std::int64_t>::max(), last = 0;
    long operations = 0, failed = 0;
    std::uint64_t busy = static_cast<std::uint64_t>(SummaryNumber(journals.reader, "busyWaits"));
    std::fprintf(out, "  %-10s %10s %8s %8s %12s\n", "process", "operations", "done", "failed",
                 "busy waits");
    for (std::size_t w = 0; w < journals.workers.size(); ++w) {
        long ops = 0, fails = 0;
        for (const Record& r : journals.workers[w]) {
            if (!IsOperation(r)) continue;
            ++ops;
            fails += IsFailure(r) ? 1 : 0;
            first = std::min(first, r.Number("t0"));
            last = std::max(last, r.Number("t1"));
        }
        const std::int64_t waits = SummaryNumber(journals.workers[w], "busyWaits");
        busy += static_cast<std::uint64_t>(waits);
        operations += ops;
        failed += fails;
        std::fprintf(out, "  worker %-3zu %10ld %8ld %8ld %12lld\n", w + 1, ops, ops - fails, fails,
                     static_cast<long long>(waits));
    }
    std::fprintf(out, "  %-10s %10s %8s %8s %12lld\n", "reader", "-", "-", "-",
                 static_cast<long long>(SummaryNumber(journals.reader, "busyWaits")));
    const double seconds = last > first ? Seconds(last - first) : 0;
    std::fprintf(out,
                 "  processes: %zu workers + 1 reader; operations: %ld (%ld done, %ld failed) in "
                 "%.1f s = %.1f operations/s; busy waits: %llu\n",
                 journals.workers.size(), operations, operations - failed, failed, seconds,
                 seconds > 0 ? static_cast<double>(operations) / seconds : 0.0,
                 static_cast<unsigned long long>(busy));
    const double held = HeldSeconds(journals, first, last);
    if (held > 0 && seconds > held)
        std::fprintf(
            out, "  without the %.1f s another program held the write lock: %.1f operations/s\n",
            held, static_cast<double>(operations) / (seconds - held));
}

void ReportLatencies(const RunJournals& journals, std::FILE* out)
{
    std::map<std::string, std::vector<std::int64_t>> byOperation;
    std::map<std::string, long> failures;
    for (const auto& journal : journals.workers)
        for (const Record& r : journal)
            if (IsOperation(r)) {
                byOperation[r.Get("op")].push_back(Duration(r));
                failures[r.Get("op")] += IsFailure(r) ? 1 : 0;
            }
    std::fprintf(out, "  %-18s %7s %7s %9s %9s %9s\n", "operation", "count", "failed", "p50 ms",
                 "p95 ms", "max ms");
    for (const auto& [name, durations] : byOperation)
        std::fprintf(out, "  %-18s %7zu %7ld %9.1f %9.1f %9.1f\n", name.c_str(), durations.size(),
                     failures[name], Percentile(durations, 0.5), Percentile(durations, 0.95),
                     Percentile(durations, 1.0));
}

void ReportFailures(const RunJournals& journals, Findings& findings, std::FILE* out)
{
    std::map<std::string, long> groups;
    for (const auto& journal : journals.workers)
        for (const Record& r : journal) {
            if (!IsFailure(r)) continue;
            const std::string cause = ContentionCause(r);
            const std::string key = FailureKey(r);
            ++groups["[" + (cause.empty() ? std::string("not contention") : cause) + "] " + key];
            if (r.Get("error").empty())
                findings.Add("a failure carries a description for the caller", key);
            else if (cause.empty())
                findings.Add("failures come only from contention", key);
        }
    if (groups.empty()) std::fprintf(out, "  none\n");
    for (const auto& [key, count] : groups) std::fprintf(out, "  %5ld x %s\n", count, key.c_str());
}

// The reader pauses while its list stays open; had the open list kept a read
// lock, no other program could commit until the pause ended.
void ReportReader(const RunJournals& journals, Findings& findings, std::FILE* out)
{
    std::vector<std::pair<std::int64_t, std::int64_t>> pauses;
    std::map<std::string, long> failedReads;
    for (const Record& r : journals.reader) {
        if (r.Get("op") == op::kPause) pauses.emplace_back(r.Number("t0"), r.Number("t1"));
        if ((r.Get("op") == op::kRead || r.Get("op") == op::kRefresh) && IsFailure(r)) {
            ++failedReads[FailureKey(r)];
            // A keyed list shows a row another program deleted since the list
            // was read as deleted, until it is read again.
            if (ContentionCause(r).empty())
                findings.Add("the open bug list reads without failing", FailureKey(r));
        }
    }
    long inside = 0, overlapping = 0;
    std::int64_t longest = 0;
    for (const auto& journal : journals.workers)
        for (const Record& r : journal) {
            if (!IsOperation(r) || IsFailure(r) || kWriteOperations.count(r.Get("op")) == 0)
                continue;
            longest = std::max(longest, Duration(r));
            for (const auto& [from, to] : pauses) {
                if (r.Number("t1") < from || r.Number("t0") > to) continue;
                ++overlapping;
                if (r.Number("t0") >= from && r.Number("t1") <= to) ++inside;
            }
        }
    std::fprintf(out,
                 "  reads: %lld (%lld failed) of a list of up to %lld bugs; pauses with the list "
                 "open: %zu; writes committed entirely within a pause: %ld of %ld overlapping one; "
                 "longest write: %.0f ms\n",
                 static_cast<long long>(SummaryNumber(journals.reader, "reads")),
                 static_cast<long long>(SummaryNumber(journals.reader, "failedReads")),
                 static_cast<long long>(SummaryNumber(journals.reader, "largestList")),
                 pauses.size(), inside, overlapping, Millis(longest));
    for (const auto& [key, count] : failedReads)
        std::fprintf(out, "  %5ld x %s\n", count, key.c_str());
    if (pauses.empty())
        findings.Add("writers are not held up by an open bug list", "the reader never paused");
    else if (overlapping > 0 && inside == 0)
        findings.Add("writers are not held up by an open bug list",
                     "no write committed while the reader paused with its list open");
}

// While another program held the write lock past the engine's timeout, the
// writes that waited for it must fail with the busy description.
void ReportLockHolder(const RunJournals& journals, Findings& findings, std::FILE* out)
{
    for (const Record& hold : journals.holder) {
        if (hold.Get("op") != op::kHold) continue;
        if (IsFailure(hold)) {
            findings.Add("every process finished cleanly",
                         "the lock holder could not take the lock");
            continue;
        }
        const std::int64_t from = hold.Number("t0"), to = hold.Number("t1");
        long failed = 0, busy = 0;
        for (const auto& journal : journals.workers)
            for (const Record& r : journal)
                if (IsFailure(r) && r.Number("t1") >= from && r.Number("t0") <= to) {
                    ++failed;
                    busy += ContentionCause(r) == kBusy ? 1 : 0;
                }
        std::fprintf(out,
                     "  another program held the write lock for %.1f s: %ld operations failed "
                     "meanwhile, %ld of them with the busy description\n",
                     Seconds(to - from), failed, busy);
    }
}

}  // namespace

std::string ContentionCause(const Record& failure)
{
    const std::string texts = failure.Get("error") + " " + failure.Get("log");
    if (texts.find("locked by another program") != std::string::npos) return kBusy;
    if (texts.find("changed or deleted it since it was read") != std::string::npos)
        return "row changed by another program since it was read";
    if (texts.find("Record is deleted") != std::string::npos)
        return "row deleted by another program after its cursor read its keys";
    return std::string();
}

void ReportFigures(const RunJournals& journals, Findings& findings, std::FILE* out)
{
    std::fprintf(out, "Throughput\n");
    ReportThroughput(journals, out);
    std::fprintf(out, "Latency by operation\n");
    ReportLatencies(journals, out);
    std::fprintf(out, "Failures by message\n");
    ReportFailures(journals, findings, out);
    std::fprintf(out, "The open bug list\n");
    ReportReader(journals, findings, out);
    if (!journals.holder.empty()) {
        std::fprintf(out, "Contention\n");
        ReportLockHolder(journals, findings, out);
    }
}

}  // namespace stress
