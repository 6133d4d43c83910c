// The versions of a project as the page "Version" edits them: the rows shown
// and the rows deleted, each remembering whether it was loaded, added,
// edited or deleted, so that the project changes only when the sheet is
// confirmed.
#pragma once

#include <lindor/lindor.h>

#include <QList>
#include <QString>

namespace nimbra {

struct VersionValues {
    QString name;
    QString description;
    double releaseDate = 0.0;  // days since 30 December 1899; 0 = none
};

class VersionList {
public:
    enum class Operation { Unchanged, Added, Edited, Deleted };

    struct Entry {
        int versionId = 0;  // 0 for a version added in this sheet
        VersionValues values;
        Operation operation = Operation::Unchanged;
    };

    // One unchanged row per version of the project, in its order.
    bool load(lindor::IProject* project);

    int rowCount() const { return rows_.size(); }
    const Entry& row(int index) const { return rows_.at(index); }

    void add(const VersionValues& values);
    // A loaded row becomes edited; an added row stays added.
    void edit(int index, const VersionValues& values);
    void remove(int index);

    // Brings the project's versions in line with the rows, in three passes:
    // deleted, edited, then added entries. Nothing is stored until the
    // project set writes the project.
    bool applyTo(lindor::IProject* project) const;

    // Empty for no date, else the date in the user's short format.
    static QString dateText(double releaseDate);

private:
    QList<Entry> allEntries() const;
    static int indexOfVersion(lindor::IProject* project, int versionId);

    QList<Entry> rows_;
    QList<Entry> deleted_;
};

}  // namespace nimbra
