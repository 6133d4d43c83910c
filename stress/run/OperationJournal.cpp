#include "run/OperationJournal.h"

#include "common/Clock.h"
#include "common/Engine.h"
#include "run/Operations.h"

namespace stress {

OperationJournal::OperationJournal(const std::string& journalPath, const std::string& errorLogPath)
    : writer_(journalPath), log_(errorLogPath)
{
}

Record OperationJournal::Begin(const char* op)
{
    ClearErrorText();
    log_.Mark();
    Record record(op);
    record.SetNumber("seq", ++sequence_);
    record.SetNumber("t0", MonotonicNs());
    return record;
}

bool OperationJournal::Call(Record& record, const char* step, lindor::HRESULT hr)
{
    if (lindor::Succeeded(hr)) return true;
    Fail(record, step, TakeErrorText());
    return false;
}

void OperationJournal::Fail(Record& record, const char* step, const std::string& why)
{
    record.Set("verdict", op::kFailed);
    record.Set("step", step);
    record.Set("error", why);
}

bool OperationJournal::Failed(const Record& record)
{
    return record.Get("verdict") == op::kFailed;
}

void OperationJournal::Finish(Record& record)
{
    record.SetNumber("t1", MonotonicNs());
    if (!Failed(record)) {
        record.Set("verdict", op::kDone);
    } else {
        record.Set("log", log_.Appended());
    }
    writer_.Append(record);
}

}  // namespace stress
