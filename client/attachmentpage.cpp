#include "client/attachmentpage.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "bugrules/fieldrights.h"
#include "client/attachedfiles.h"
#include "client/bugtexts.h"
#include "widgets/enginedate.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;
const QString kAllFiles = QStringLiteral("All Files (*)");

QIcon PageIcon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

// The local files a drag carries; folders and remote places are not files
// to attach.
QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files.append(url.toLocalFile());
    }
    return files;
}

// The engine does not write over an existing file; when the user chose one,
// the stored copy is fetched beside it and then takes its place.
bool FetchReplacing(lindor::IFile* file, const QString& target)
{
    if (!QFileInfo::exists(target)) return file->GetFile(target.toStdString()) == lindor::S_OK;
    const QString fresh = target + QStringLiteral(".part");
    QFile::remove(fresh);
    if (file->GetFile(fresh.toStdString()) != lindor::S_OK) return false;
    if (QFile::remove(target) && QFile::rename(fresh, target)) return true;
    QFile::remove(fresh);
    return false;
}

bool CopyReplacing(const QString& source, const QString& target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath()) return true;
    if (QFileInfo::exists(target) && !QFile::remove(target)) return false;
    return QFile::copy(source, target);
}

}  // namespace

AttachmentPage::AttachmentPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("attachmentPage"));
    setAcceptDrops(true);
    model_ = new QStandardItemModel(0, 3, this);
    model_->setHorizontalHeaderLabels({tr("File Name"), tr("File Size (bytes)"), tr("Date")});
    selection_ = new QItemSelectionModel(model_, this);
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("attachmentTools"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    buildToolBar();
    buildViews();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(toolBar_);
    layout->addWidget(stack_, 1);
    connect(selection_, &QItemSelectionModel::selectionChanged, this,
            &AttachmentPage::updateEnabling);
    setView(View::LargeIcons);
    updateEnabling();
}

void AttachmentPage::buildToolBar()
{
    tools_.insert(Tool::AddFile, toolBar_->addAction(PageIcon("addfile"), tr("Add file")));
    tools_.insert(Tool::Open, toolBar_->addAction(PageIcon("open"), tr("Open")));
    tools_.insert(Tool::SaveAs, toolBar_->addAction(PageIcon("saveas"), tr("Save As")));
    tools_.insert(Tool::Delete, toolBar_->addAction(PageIcon("delete"), tr("Delete")));
    toolBar_->addSeparator();
    auto* group = new QActionGroup(this);
    const struct {
        View view;
        const char* text;
        const char* icon;
    } kViews[] = {{View::LargeIcons, "Large Icons", "largeicons"},
                  {View::SmallIcons, "Small Icons", "smallicons"},
                  {View::List, "List", "listview"},
                  {View::Detail, "Detail", "detailview"}};
    for (const auto& entry : kViews) {
        QAction* action = toolBar_->addAction(PageIcon(entry.icon), tr(entry.text));
        action->setCheckable(true);
        group->addAction(action);
        const View view = entry.view;
        connect(action, &QAction::triggered, this, [this, view] { setView(view); });
        views_.insert(view, action);
    }
    connect(tools_[Tool::AddFile], &QAction::triggered, this, &AttachmentPage::chooseFileToAdd);
    connect(tools_[Tool::Open], &QAction::triggered, this, &AttachmentPage::openSelected);
    connect(tools_[Tool::SaveAs], &QAction::triggered, this, &AttachmentPage::chooseSaveTarget);
    connect(tools_[Tool::Delete], &QAction::triggered, this, &AttachmentPage::deleteSelected);
}

void AttachmentPage::buildViews()
{
    stack_ = new QStackedWidget(this);
    iconView_ = new QListView(stack_);
    iconView_->setObjectName(QStringLiteral("attachmentIcons"));
    detailView_ = new QTreeView(stack_);
    detailView_->setObjectName(QStringLiteral("attachmentDetails"));
    detailView_->setRootIsDecorated(false);
    detailView_->setItemsExpandable(false);
    detailView_->setAllColumnsShowFocus(true);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(iconView_),
                                    static_cast<QAbstractItemView*>(detailView_)}) {
        view->setModel(model_);
        view->setSelectionModel(selection_);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QAbstractItemView::doubleClicked, this, &AttachmentPage::openSelected);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            createContextMenu()->exec(view->viewport()->mapToGlobal(at));
        });
        stack_->addWidget(view);
    }
    detailView_->setColumnWidth(0, 190);
    detailView_->setColumnWidth(1, 100);
    detailView_->setColumnWidth(2, 80);
}

std::unique_ptr<QMenu> AttachmentPage::createContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("attachmentMenu"));
    QAction* open = menu->addAction(tr("Open..."), this, &AttachmentPage::openSelected);
    QAction* save = menu->addAction(tr("Save As..."), this, &AttachmentPage::chooseSaveTarget);
    open->setEnabled(tools_[Tool::Open]->isEnabled());
    save->setEnabled(tools_[Tool::SaveAs]->isEnabled());
    menu->addSeparator();
    for (QAction* view : views_) menu->addAction(view);
    return menu;
}

void AttachmentPage::setView(View view)
{
    view_ = view;
    views_[view]->setChecked(true);
    if (view == View::Detail) {
        stack_->setCurrentWidget(detailView_);
        return;
    }
    const bool large = view == View::LargeIcons;
    iconView_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    iconView_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    iconView_->setFlow(view == View::List ? QListView::TopToBottom : QListView::LeftToRight);
    iconView_->setWrapping(true);
    iconView_->setResizeMode(QListView::Adjust);
    iconView_->setMovement(QListView::Static);
    iconView_->setWordWrap(large);
    iconView_->setGridSize(large                      ? QSize(112, 72)
                           : view == View::SmallIcons ? QSize(180, 22)
                                                      : QSize());
    iconView_->setSpacing(view == View::List ? 2 : 0);
    stack_->setCurrentWidget(iconView_);
}

bool AttachmentPage::load(const BugSheetSubject& subject)
{
    subject_ = subject;
    model_->removeRows(0, model_->rowCount());
    pending_.clear();
    files_.reset();
    if (!subject.newReport && subject.bug->get_AttachedFiles(files_.put()) != lindor::S_OK) {
        updateEnabling();
        return false;
    }
    for (const AttachedFile& file : AttachedFiles::of(files_.get())) {
        appendRow(file.name, file.size, file.date, file.id, QString());
        pending_.addStored(file.name, file.id);
    }
    updateEnabling();
    return true;
}

void AttachmentPage::appendRow(const QString& name, qint64 size, double date, int id,
                               const QString& path)
{
    auto* nameItem = new QStandardItem(AttachedFiles::iconFor(name), name);
    nameItem->setData(id, kIdRole);
    nameItem->setData(path, kPathRole);
    nameItem->setToolTip(path.isEmpty() ? name : path);
    model_->appendRow({nameItem, new QStandardItem(QString::number(size)),
                       new QStandardItem(BugTexts::dateText(date, subject_.dateFormat))});
}

bool AttachmentPage::mayEdit() const
{
    return bugrules::MayEdit(subject_.right.get(), bugrules::EditableField::Attachment);
}

int AttachmentPage::selectedRow() const
{
    const QModelIndexList rows = selection_->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString AttachmentPage::rowText(int row, int column) const
{
    return model_->index(row, column).data().toString();
}

int AttachmentPage::rowId(int row) const
{
    return model_->index(row, 0).data(kIdRole).toInt();
}

QString AttachmentPage::rowPath(int row) const
{
    return model_->index(row, 0).data(kPathRole).toString();
}

void AttachmentPage::updateEnabling()
{
    const bool selected = selectedRow() >= 0;
    tools_[Tool::AddFile]->setEnabled(mayEdit());
    tools_[Tool::Delete]->setEnabled(selected && mayEdit());
    tools_[Tool::Open]->setEnabled(selected);
    tools_[Tool::SaveAs]->setEnabled(selected);
}

void AttachmentPage::chooseFileToAdd()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Add file"), QString(), kAllFiles,
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty()) addFile(path);
}

bool AttachmentPage::addFile(const QString& path)
{
    const QFileInfo info(path);
    if (!mayEdit() || !info.isFile()) return false;
    appendRow(info.fileName(), info.size(), EngineDate::fromDateTime(info.lastModified()), 0,
              info.absoluteFilePath());
    pending_.addFile(info.absoluteFilePath());
    selection_->select(model_->index(model_->rowCount() - 1, 0),
                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void AttachmentPage::deleteSelected()
{
    const int row = selectedRow();
    if (row < 0 || !mayEdit()) return;
    pending_.remove(rowId(row), rowPath(row));
    model_->removeRow(row);
}

void AttachmentPage::openSelected()
{
    const int row = selectedRow();
    if (row < 0) return;
    bool opened = false;
    if (rowId(row) != 0) {
        const lindor::ComPtr<lindor::IFile> file = AttachedFiles::find(files_.get(), rowId(row));
        opened = file && file->OpenFile() == lindor::S_OK;
    } else {
        // Not stored yet: the file is still where it was added from.
        opened = QDesktopServices::openUrl(QUrl::fromLocalFile(rowPath(row)));
    }
    if (!opened) Messages::error(this, tr("Open file failed!"));
}

void AttachmentPage::chooseSaveTarget()
{
    const int row = selectedRow();
    if (row < 0) return;
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save As"), rowText(row, 0), kAllFiles, nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty()) saveSelectedAs(path);
}

void AttachmentPage::saveSelectedAs(const QString& path)
{
    const int row = selectedRow();
    if (row < 0) return;
    bool saved = false;
    if (rowId(row) != 0) {
        const lindor::ComPtr<lindor::IFile> file = AttachedFiles::find(files_.get(), rowId(row));
        saved = file && FetchReplacing(file.get(), path);
    } else {
        saved = CopyReplacing(rowPath(row), path);
    }
    if (!saved) Messages::error(this, tr("Save file failed!"));
}

void AttachmentPage::dragEnterEvent(QDragEnterEvent* event)
{
    if (mayEdit() && !DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void AttachmentPage::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    if (!mayEdit() || files.isEmpty()) return;
    for (const QString& file : files) addFile(file);
    event->acceptProposedAction();
}

}  // namespace nimbra
