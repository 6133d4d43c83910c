#include "client/buglistmodel.h"

#include <algorithm>

#include "client/bugtexts.h"
#include "client/enginevalues.h"
#include "client/statusicons.h"

namespace nimbra {

namespace {

using lindor::IBug;
using TextGetter = lindor::HRESULT (IBug::*)(std::string*);
using DateGetter = lindor::HRESULT (IBug::*)(double*);

enum class Kind { Icon, Id, Text, Date, Duration };

struct Column {
    const char* header;
    int width;
    Kind kind;
    TextGetter text;
    DateGetter date;
    int field;  // an eBugField, or -1 where the column does not sort
};

// The list's columns, in order.
const Column kColumns[BugListModel::kColumnCount] = {
    {"S", 20, Kind::Icon, nullptr, nullptr, -1},
    {"ID", 50, Kind::Id, nullptr, nullptr, lindor::ColID},
    {"Description", 150, Kind::Text, &IBug::get_Description, nullptr, lindor::ColDescription},
    {"Status", 80, Kind::Text, &IBug::get_Status, nullptr, lindor::ColStatus},
    {"Severity", 80, Kind::Text, &IBug::get_Severity, nullptr, lindor::ColSeverity},
    {"Priority", 80, Kind::Text, &IBug::get_Priority, nullptr, lindor::ColPriority},
    {"Reproductive", 80, Kind::Text, &IBug::get_Reproductive, nullptr, lindor::ColReproductive},
    {"Classification", 100, Kind::Text, &IBug::get_Classification, nullptr,
     lindor::ColClassification},
    {"Reported in Project", 100, Kind::Text, &IBug::get_ReportedInProject, nullptr,
     lindor::ColReportedInPrj},
    {"Reported in Version", 100, Kind::Text, &IBug::get_ReportedInVersion, nullptr,
     lindor::ColReportedInVer},
    {"Reported By", 100, Kind::Text, &IBug::get_ReportedBy, nullptr, lindor::ColReportedBy},
    {"Reported Date", 100, Kind::Date, nullptr, &IBug::get_ReportedDate, lindor::ColReportedDate},
    {"Resolved In Version", 100, Kind::Text, &IBug::get_FixedInVersion, nullptr,
     lindor::ColFixedInVer},
    {"Resolved By", 100, Kind::Text, &IBug::get_FixedBy, nullptr, lindor::ColFixedBy},
    {"Resolved Date", 100, Kind::Date, nullptr, &IBug::get_FixedDate, lindor::ColFixedDate},
    {"Verified By", 100, Kind::Text, &IBug::get_VerifiedBy, nullptr, lindor::ColVerifiedBy},
    {"Verified Date", 100, Kind::Date, nullptr, &IBug::get_VerifiedDate, lindor::ColVerifiedDate},
    {"Date Due", 100, Kind::Date, nullptr, &IBug::get_DateDue, -1},
    {"Estimate Time", 100, Kind::Duration, nullptr, nullptr, -1},
};

}  // namespace

BugListModel::BugListModel(QObject* parent, int pageSize)
    : QAbstractTableModel(parent), pageSize_(std::max(pageSize, 1))
{
}

bool BugListModel::sortFieldOf(int column, lindor::eBugField* field)
{
    if (column < 0 || column >= kColumnCount || kColumns[column].field < 0) return false;
    *field = static_cast<lindor::eBugField>(kColumns[column].field);
    return true;
}

int BugListModel::columnWidth(int column)
{
    return column >= 0 && column < kColumnCount ? kColumns[column].width : 100;
}

bool BugListModel::setBugSet(lindor::ComPtr<lindor::IBugSet> bugs)
{
    beginResetModel();
    bugs_ = std::move(bugs);
    forgetRows();
    pagesRead_ = 0;
    std::int32_t count = 0;
    const bool counted = !bugs_ || bugs_->get_Count(&count) == lindor::S_OK;
    rows_ = counted ? std::max(count, 0) : 0;
    endResetModel();
    return counted;
}

bool BugListModel::recount()
{
    std::int32_t count = 0;
    if (bugs_ && bugs_->get_Count(&count) != lindor::S_OK) return false;
    count = std::max(count, 0);
    forgetRows();
    if (count < rows_) {
        beginRemoveRows(QModelIndex(), count, rows_ - 1);
        rows_ = count;
        endRemoveRows();
    } else if (count > rows_) {
        beginInsertRows(QModelIndex(), rows_, count - 1);
        rows_ = count;
        endInsertRows();
    }
    redrawAll();
    return true;
}

bool BugListModel::refresh()
{
    if (!bugs_) return true;
    if (bugs_->Refresh() != lindor::S_OK) return false;
    return recount();
}

bool BugListModel::sortBy(lindor::eBugField field, lindor::eOrder order)
{
    if (!bugs_) return true;
    if (bugs_->Sort(field, order) != lindor::S_OK) return false;
    forgetRows();
    redrawAll();
    return true;
}

lindor::ComPtr<lindor::IBugFilterSet> BugListModel::filterSet() const
{
    lindor::ComPtr<lindor::IBugFilterSet> filter;
    if (bugs_) bugs_->get_FilterSet(filter.put());
    return filter;
}

bool BugListModel::setFilterSet(lindor::IBugFilterSet* filter)
{
    if (!bugs_) return true;
    if (bugs_->put_FilterSet(filter) != lindor::S_OK) return false;
    return recount();
}

bool BugListModel::removeById(int bugId)
{
    forgetRows();
    return bugs_ && bugs_->RemoveByID(bugId) == lindor::S_OK;
}

bool BugListModel::update(lindor::IBug* bug)
{
    if (!bugs_ || bugs_->Update(bug) != lindor::S_OK) return false;
    return recount();
}

bool BugListModel::add(lindor::IBug* bug, lindor::ComPtr<lindor::IBug>* stored)
{
    stored->reset();
    if (!bugs_ || bugs_->Add(bug, stored->put()) != lindor::S_OK) return false;
    return recount();
}

void BugListModel::setDateFormat(const QString& format)
{
    dateFormat_ = format;
    redrawAll();
}

void BugListModel::forgetRows()
{
    pages_.clear();
}

void BugListModel::redrawAll()
{
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, kColumnCount - 1));
}

const BugListModel::Page& BugListModel::pageHolding(int row) const
{
    const int first = row - row % pageSize_;
    auto found = std::find_if(pages_.begin(), pages_.end(),
                              [first](const Page& page) { return page.first == first; });
    if (found != pages_.end()) return *found;
    if (static_cast<int>(pages_.size()) >= kPagesKept) pages_.pop_back();
    Page page;
    page.first = first;
    const int end = std::min(first + pageSize_, rows_);
    page.rows.resize(static_cast<std::size_t>(end - first));
    for (int at = first; at < end; ++at) {
        // A row that cannot be read stays null and shows empty cells.
        if (bugs_->put_Position(at) == lindor::S_OK)
            bugs_->get_CurItem(page.rows[static_cast<std::size_t>(at - first)].put());
    }
    ++pagesRead_;
    pages_.push_front(std::move(page));
    return pages_.front();
}

lindor::ComPtr<lindor::IBug> BugListModel::bugAt(int row) const
{
    if (!bugs_ || row < 0 || row >= rows_) return nullptr;
    const Page& page = pageHolding(row);
    const auto at = static_cast<std::size_t>(row - page.first);
    return at < page.rows.size() ? page.rows[at] : nullptr;
}

int BugListModel::bugIdAt(int row) const
{
    const lindor::ComPtr<IBug> bug = bugAt(row);
    std::int32_t id = 0;
    if (bug) bug->get_ID(&id);
    return id;
}

int BugListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int BugListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QString BugListModel::cellText(IBug* bug, int column) const
{
    const Column& wanted = kColumns[column];
    switch (wanted.kind) {
        case Kind::Icon:
            return QString();
        case Kind::Id: {
            std::int32_t id = 0;
            bug->get_ID(&id);
            return QString::number(id);
        }
        case Kind::Text:
            return TextOf(bug, wanted.text);
        case Kind::Date: {
            double value = 0.0;
            if ((bug->*wanted.date)(&value) != lindor::S_OK) return QString();
            return BugTexts::dateText(value, dateFormat_);
        }
        case Kind::Duration: {
            std::int32_t minutes = 0;
            if (bug->get_EstimatedTime(&minutes) != lindor::S_OK) return QString();
            return BugTexts::durationText(minutes);
        }
    }
    return QString();
}

QVariant BugListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= kColumnCount) return {};
    if (role != Qt::DisplayRole && role != Qt::DecorationRole && role != StatusIconRole &&
        role != BugIdRole)
        return {};
    const lindor::ComPtr<IBug> bug = bugAt(index.row());
    if (!bug) return {};
    if (role == BugIdRole) {
        std::int32_t id = 0;
        bug->get_ID(&id);
        return id;
    }
    const bool iconColumn = kColumns[index.column()].kind == Kind::Icon;
    if (role == Qt::DisplayRole)
        return iconColumn ? QVariant() : QVariant(cellText(bug.get(), index.column()));
    if (!iconColumn) return {};
    const int icon = BugTexts::statusIconIndex(TextOf(bug.get(), &IBug::get_Status));
    if (role == StatusIconRole) return icon;
    return StatusIcons::icon(icon);
}

QVariant BugListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kColumns[section].header);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

}  // namespace nimbra
