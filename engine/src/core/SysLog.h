// The error log "Err.log": one entry per failure, in the program's folder.
#pragma once

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

// A log file is appended to while it is at most this long; a longer one is
// started anew when the next entry is written.
constexpr long kLogFileLimit = 1024000;

class CSysLog final : public ComObject<ISysLog> {
public:
    HRESULT get_LogFileName(std::string* out) override;
    HRESULT put_LogFileName(const std::string& value) override;
    HRESULT Log(std::int32_t errCode, const std::string& source,
                const std::string& description) override;
    HRESULT Clear() override;

    // The log folder followed by LogFileName.
    std::string FullPath() const;

private:
    std::string logFileName_;
};

// One log entry as it is stored, with CR LF line ends.
std::string FormatLogEntry(std::int32_t errCode, const std::string& source,
                           const std::string& description);

}  // namespace lindor
