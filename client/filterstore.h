// Every filter the client knows, by unique name: first the built-in quick
// views of the logged-in user, then the user's own filters, which live in the
// file "filter.ser" (see FilterFile). Built-in views are never written.
#pragma once

#include <lindor/lindor.h>

#include <QString>

#include <vector>

namespace nimbra {

class FilterStore {
public:
    enum class LoadResult { Loaded, Skipped, Failed };

    static QString filePath();

    void clear();
    // Clears; with a user logged in, builds the quick views of that user in
    // the active project; then loads the file. False with the text to show
    // when a view could not be made whole, the file is damaged or the engine
    // refused a filter read from it; what was made or read stays.
    bool rebuild(lindor::IExeContext* context, QString* error);

    // False, and nothing added, when the name is already taken.
    bool add(lindor::ComPtr<lindor::IBugFilterSet> set);
    lindor::IBugFilterSet* find(const QString& name) const;
    bool remove(const QString& name);
    lindor::IBugFilterSet* at(int index) const;
    int count() const { return static_cast<int>(entries_.size()); }
    int builtInCount() const { return builtIn_; }
    bool isBuiltIn(const QString& name) const;
    // Replaces this store's entries with copies of the other's (new engine
    // objects). False with the engine's description; this store keeps its
    // entries then.
    bool copyFrom(const FilterStore& other, QString* error);

    // A missing or unreadable file, or one of another version, is Skipped
    // without a text; a damaged file or an engine refusal is Failed with the
    // text, and the filters read before stay. A filter whose name is taken
    // ends the load.
    LoadResult load(QString* error);
    // Writes the user filters; false with the file error's text.
    bool save(QString* error) const;

private:
    int indexOf(const QString& name) const;

    std::vector<lindor::ComPtr<lindor::IBugFilterSet>> entries_;
    int builtIn_ = 0;
};

}  // namespace nimbra
