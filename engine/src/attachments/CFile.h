// One attachment of a bug: its number, name, size and date. The contents stay
// in the database until GetFile or OpenFile unpacks them.
#pragma once

#include <lindor/Interfaces.h>

#include "core/ComObject.h"

namespace lindor {

class CFile final : public ComObject<IFile> {
public:
    // Writes the stored file to `destination`, which must not exist yet.
    HRESULT GetFile(const std::string& destination) override;
    // Unpacks the stored file into the private temporary folder and asks the
    // desktop to open it with its default application.
    HRESULT OpenFile() override;
    HRESULT get_FileName(std::string* out) override;
    HRESULT put_FileName(const std::string& value) override;
    HRESULT get_FullName(std::string* out) override;
    // Also sets FileName to the part after the last folder separator.
    HRESULT put_FullName(const std::string& value) override;
    HRESULT get_ID(std::int32_t* out) override;
    HRESULT get_FileSize(std::int32_t* out) override;
    HRESULT put_FileSize(std::int32_t value) override;
    HRESULT get_FileDate(Date* out) override;
    HRESULT put_FileDate(Date value) override;

    void SetID(std::int32_t id) { id_ = id; }
    std::int32_t ID() const { return id_; }
    const std::string& FullName() const { return fullName_; }
    const std::string& FileName() const { return fileName_; }
    std::int32_t FileSize() const { return fileSize_; }
    Date FileDate() const { return fileDate_; }

private:
    ~CFile() override = default;

    std::int32_t id_ = 0;
    std::string fileName_;
    std::string fullName_;
    std::int32_t fileSize_ = 0;
    Date fileDate_ = 0.0;
};

}  // namespace lindor
