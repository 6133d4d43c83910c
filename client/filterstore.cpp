#include "client/filterstore.h"

#include <QDate>
#include <QDateTime>

#include "client/clientfiles.h"
#include "client/filterfile.h"
#include "client/filtersets.h"
#include "client/quickviews.h"
#include "widgets/enginedate.h"
#include "widgets/engineerror.h"

namespace nimbra {

namespace {

const QString kFileName = QStringLiteral("filter.ser");

}  // namespace

QString FilterStore::filePath()
{
    return ClientFiles::path(kFileName);
}

void FilterStore::clear()
{
    entries_.clear();
    builtIn_ = 0;
}

bool FilterStore::rebuild(lindor::IExeContext* context, QString* error)
{
    clear();
    std::int32_t user = 0;
    bool whole = true;
    if (context->get_CurUserID(&user) == lindor::S_OK && user != 0) {
        const double today = EngineDate::fromDateTime(QDateTime(QDate::currentDate(), QTime(0, 0)));
        whole = QuickViews::build(context, today, &entries_, error);
        builtIn_ = count();
    }
    QString loadError;
    if (load(&loadError) == LoadResult::Failed) {
        if (whole) *error = loadError;
        whole = false;
    }
    return whole;
}

int FilterStore::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (FilterSets::name(entries_[i].get()) == name) return i;
    return -1;
}

bool FilterStore::add(lindor::ComPtr<lindor::IBugFilterSet> set)
{
    if (!set || indexOf(FilterSets::name(set.get())) >= 0) return false;
    entries_.push_back(std::move(set));
    return true;
}

lindor::IBugFilterSet* FilterStore::find(const QString& name) const
{
    const int index = indexOf(name);
    return index < 0 ? nullptr : entries_[index].get();
}

bool FilterStore::remove(const QString& name)
{
    const int index = indexOf(name);
    if (index < 0) return false;
    entries_.erase(entries_.begin() + index);
    if (index < builtIn_) --builtIn_;
    return true;
}

lindor::IBugFilterSet* FilterStore::at(int index) const
{
    return index >= 0 && index < count() ? entries_[index].get() : nullptr;
}

bool FilterStore::isBuiltIn(const QString& name) const
{
    const int index = indexOf(name);
    return index >= 0 && index < builtIn_;
}

bool FilterStore::copyFrom(const FilterStore& other, QString* error)
{
    std::vector<lindor::ComPtr<lindor::IBugFilterSet>> copies;
    for (const auto& set : other.entries_) {
        copies.push_back(FilterSets::copy(set.get()));
        if (!copies.back()) {
            *error = EngineError::text();
            return false;
        }
    }
    entries_ = std::move(copies);
    builtIn_ = other.builtIn_;
    return true;
}

FilterStore::LoadResult FilterStore::load(QString* error)
{
    QByteArray bytes;
    QString unread;
    if (ClientFiles::read(kFileName, &bytes, &unread) != ClientFiles::ReadResult::Read)
        return LoadResult::Skipped;
    switch (FilterFile::read(
        bytes, [this](FilterFile::Set set) { return add(set); }, error)) {
        case FilterFile::Result::Read:
            return LoadResult::Loaded;
        case FilterFile::Result::OtherVersion:
            return LoadResult::Skipped;
        case FilterFile::Result::Damaged:
            *error = ClientFiles::damagedText(kFileName);
            return LoadResult::Failed;
        case FilterFile::Result::EngineFailed:
            break;
    }
    return LoadResult::Failed;
}

bool FilterStore::save(QString* error) const
{
    const std::vector<lindor::ComPtr<lindor::IBugFilterSet>> userFilters(
        entries_.begin() + builtIn_, entries_.end());
    QByteArray bytes;
    return FilterFile::write(userFilters, &bytes, error) &&
           ClientFiles::write(kFileName, bytes, error);
}

}  // namespace nimbra
