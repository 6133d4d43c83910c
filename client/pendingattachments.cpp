#include "client/pendingattachments.h"

#include <algorithm>

namespace nimbra {

void PendingAttachments::addStored(const QString& name, int id)
{
    entries_.append({name, id, State::Stored});
}

void PendingAttachments::addFile(const QString& path)
{
    entries_.append({path, 0, State::ToAdd});
}

void PendingAttachments::remove(int id, const QString& path)
{
    const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return id != 0 ? e.id == id : e.state == State::ToAdd && e.nameOrPath == path;
    });
    if (entry == entries_.end()) return;
    if (entry->id != 0 && entry->state != State::ToAdd) {
        entry->state = State::ToRemove;
        return;
    }
    entries_.erase(entry);
}

bool PendingAttachments::hasChanges() const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const Entry& e) { return e.state != State::Stored; });
}

bool PendingAttachments::applyTo(lindor::IFileSet* files) const
{
    if (!hasChanges()) return true;
    if (files == nullptr) return false;
    for (const Entry& entry : entries_) {
        if (entry.state == State::ToRemove && files->RemoveByID(entry.id) != lindor::S_OK)
            return false;
    }
    for (const Entry& entry : entries_) {
        lindor::ComPtr<lindor::IFile> added;
        if (entry.state == State::ToAdd &&
            files->Add(entry.nameOrPath.toStdString(), added.put()) != lindor::S_OK)
            return false;
    }
    return true;
}

}  // namespace nimbra
