#include "admin/versionlist.h"

#include <QLocale>

#include "admin/engineobject.h"
#include "widgets/enginedate.h"

namespace nimbra {

bool VersionList::load(lindor::IProject* project)
{
    rows_.clear();
    deleted_.clear();
    const int count = EngineNumber(project, &lindor::IProject::get_VersionCount);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        if (project->get_Version(i, version.put()) != lindor::S_OK || !version) return false;
        Entry entry;
        entry.versionId = EngineNumber(version.get(), &lindor::IVersion::get_ID);
        entry.values.name = EngineText(version.get(), &lindor::IVersion::get_Name);
        entry.values.description = EngineText(version.get(), &lindor::IVersion::get_Description);
        version->get_ReleaseDate(&entry.values.releaseDate);
        rows_.append(entry);
    }
    return true;
}

void VersionList::add(const VersionValues& values)
{
    rows_.append({0, values, Operation::Added});
}

void VersionList::edit(int index, const VersionValues& values)
{
    Entry& entry = rows_[index];
    entry.values = values;
    if (entry.operation == Operation::Unchanged) entry.operation = Operation::Edited;
}

// A row added in this sheet has nothing stored to delete, so it just goes.
void VersionList::remove(int index)
{
    Entry entry = rows_.takeAt(index);
    if (entry.operation == Operation::Added) return;
    entry.operation = Operation::Deleted;
    deleted_.append(entry);
}

bool VersionList::applyTo(lindor::IProject* project) const
{
    const QList<Entry> entries = allEntries();
    for (const Entry& entry : entries) {
        if (entry.operation != Operation::Deleted) continue;
        const int index = indexOfVersion(project, entry.versionId);
        if (index >= 0 && project->RemoveVersionAt(index) != lindor::S_OK) return false;
    }
    for (const Entry& entry : entries) {
        if (entry.operation != Operation::Edited) continue;
        lindor::ComPtr<lindor::IVersion> version;
        const int index = indexOfVersion(project, entry.versionId);
        if (index < 0 || project->get_Version(index, version.put()) != lindor::S_OK) continue;
        version->put_Name(entry.values.name.toStdString());
        version->put_Description(entry.values.description.toStdString());
        version->put_ReleaseDate(entry.values.releaseDate);
    }
    for (const Entry& entry : entries) {
        if (entry.operation != Operation::Added) continue;
        lindor::ComPtr<lindor::IVersion> added;
        if (project->AddVersion(entry.values.name.toStdString(),
                                entry.values.description.toStdString(), entry.values.releaseDate,
                                added.put()) != lindor::S_OK)
            return false;
    }
    return true;
}

QString VersionList::dateText(double releaseDate)
{
    const QDateTime when = EngineDate::toDateTime(releaseDate);
    if (!when.isValid()) return QString();
    return QLocale().toString(when.date(), QLocale::ShortFormat);
}

QList<VersionList::Entry> VersionList::allEntries() const
{
    return rows_ + deleted_;
}

int VersionList::indexOfVersion(lindor::IProject* project, int versionId)
{
    if (versionId == 0) return -1;
    const int count = EngineNumber(project, &lindor::IProject::get_VersionCount);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IVersion> version;
        if (project->get_Version(i, version.put()) != lindor::S_OK || !version) continue;
        if (EngineNumber(version.get(), &lindor::IVersion::get_ID) == versionId) return i;
    }
    return -1;
}

}  // namespace nimbra
