#include "client/attachmentform.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "client/attachedfiles.h"
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
    for (const AttachedFile& file : AttachedFiles::of(files)) {
        auto* row = new QTreeWidgetItem(list_, {file.name, QString::number(file.size),
                                                BugTexts::dateText(file.date, dateFormat)});
        row->setIcon(0, AttachedFiles::iconFor(file.name));
        row->setData(0, kIdRole, file.id);
    }
}

void AttachmentForm::openFile(int fileId)
{
    const lindor::ComPtr<lindor::IFile> file = AttachedFiles::find(files_.get(), fileId);
    if (file && file->OpenFile() != lindor::S_OK) Messages::error(this, tr("Open file failed!"));
}

}  // namespace nimbra
