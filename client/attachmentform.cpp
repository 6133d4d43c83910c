#include "client/attachmentform.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "client/bugtexts.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

AttachmentForm::AttachmentForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("attachmentForm"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("attachmentList"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("File Name"), tr("File Size (bytes)"), tr("Date")});
    list_->setColumnWidth(0, 190);
    list_->setColumnWidth(1, 100);
    list_->setColumnWidth(2, 80);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openFile(row->data(0, kIdRole).toInt()); });
}

void AttachmentForm::showFiles(lindor::IFileSet* files, const QString& dateFormat)
{
    list_->clear();
    files_ = lindor::ComPtr<lindor::IFileSet>(files);
    std::int32_t count = 0;
    if (files == nullptr || files->get_Count(&count) != lindor::S_OK) return;
    const QFileIconProvider icons;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IFile> file;
        if (files->get_Item(i, file.put()) != lindor::S_OK || !file) continue;
        std::string name;
        std::int32_t size = 0;
        std::int32_t id = 0;
        double date = 0.0;
        file->get_FileName(&name);
        file->get_FileSize(&size);
        file->get_FileDate(&date);
        file->get_ID(&id);
        const QString fileName = QString::fromStdString(name);
        auto* row = new QTreeWidgetItem(
            list_, {fileName, QString::number(size), BugTexts::dateText(date, dateFormat)});
        row->setIcon(0, icons.icon(QFileInfo(fileName)));
        row->setData(0, kIdRole, id);
    }
}

void AttachmentForm::openFile(int fileId)
{
    std::int32_t count = 0;
    if (!files_ || files_->get_Count(&count) != lindor::S_OK) return;
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IFile> file;
        std::int32_t id = 0;
        if (files_->get_Item(i, file.put()) != lindor::S_OK || !file) continue;
        file->get_ID(&id);
        if (id != fileId) continue;
        if (file->OpenFile() != lindor::S_OK) Messages::error(this, tr("Open file failed!"));
        return;
    }
}

}  // namespace nimbra
