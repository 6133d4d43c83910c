// The attachment changes made in the bug editor, kept until the bug is
// stored: the files it had, the files to add (by path) and the stored files
// to remove (by number).
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>

namespace nimbra {

class PendingAttachments {
public:
    enum class State { Stored = 0, ToAdd = 1, ToRemove = 2 };

    struct Entry {
        QString nameOrPath;  // the stored name, or the path a file is added from
        int id = 0;
        State state = State::Stored;
    };

    void clear() { entries_.clear(); }
    void addStored(const QString& name, int id);
    void addFile(const QString& path);
    // A stored file (id not 0) is marked for removal; a file still to add is
    // forgotten, so adding and deleting it again stores nothing.
    void remove(int id, const QString& path);

    const QList<Entry>& entries() const { return entries_; }
    bool hasChanges() const;

    // Removes the marked files, then adds the new ones, through the bug's
    // file set. Stops at the first failure and returns false; the engine's
    // description is then the caller's to show.
    bool applyTo(lindor::IFileSet* files) const;

private:
    QList<Entry> entries_;
};

}  // namespace nimbra
