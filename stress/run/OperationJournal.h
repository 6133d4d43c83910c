// The frame of each journaled operation: when it started and ended, what the
// engine answered and, for a failure, the description the caller got, the
// call that failed and the error-log entries written meanwhile.
#pragma once

#include <string>

#include <lindor/Types.h>

#include "common/ErrorLogTail.h"
#include "common/Journal.h"

namespace stress {

class OperationJournal {
public:
    OperationJournal(const std::string& journalPath, const std::string& errorLogPath);

    Record Begin(const char* op);
    // True when hr succeeded; otherwise marks the record failed at `step`.
    bool Call(Record& record, const char* step, lindor::HRESULT hr);
    // A failure this program noticed itself (the engine reported success).
    void Fail(Record& record, const char* step, const std::string& why);
    static bool Failed(const Record& record);
    // Stamps the end and the verdict and appends the record.
    void Finish(Record& record);
    void Append(const Record& record) { writer_.Append(record); }

private:
    JournalWriter writer_;
    ErrorLogTail log_;
    long sequence_ = 0;
};

}  // namespace stress
