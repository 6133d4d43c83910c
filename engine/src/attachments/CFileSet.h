// The attachments of one bug as they were when the bug listed them. Add and
// the Remove operations write to the database (under the EditAttachment
// right); Append and the Delete operations change the list only.
#pragma once

#include <vector>

#include <lindor/Interfaces.h>

#include "core/ComObject.h"
#include "core/ItemList.h"

namespace lindor {

class CFile;

class CFileSet final : public ComObject<IFileSet> {
public:
    HRESULT get_Count(std::int32_t* out) override;
    HRESULT get_Item(std::int32_t index, IFile** out) override;
    HRESULT get_BugID(std::int32_t* out) override;
    HRESULT get_ExeContext(IExeContext** out) override;
    // Stores the file at `path` as a new attachment of the bug and hands out
    // its File; the list itself is not changed.
    HRESULT Add(const std::string& path, IFile** out) override;
    HRESULT RemoveByID(std::int32_t id) override;
    HRESULT RemoveByIndex(std::int32_t index) override;
    HRESULT DeleteByID(std::int32_t id) override;
    HRESULT DeleteByIndex(std::int32_t index) override;
    HRESULT Append(IFile* file) override;

    // Ties the set to its bug and to the context whose rights apply.
    void Attach(std::int32_t bugID, IExeContext* context);

private:
    ~CFileSet() override = default;

    // Whether the current user may change attachments; a missing project is
    // reported and logged here.
    bool HasEditAttachmentRight() const;
    bool StoreFile(const CFile& file) const;
    // The index of the attachment with that number, or -1.
    std::int32_t IndexOf(std::int32_t id) const;

    ItemList<IFile> files_;
    std::int32_t bugID_ = 0;
    ComPtr<IExeContext> context_;
};

}  // namespace lindor
