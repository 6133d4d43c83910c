#include "client/attachedfiles.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStyle>

#include "client/enginevalues.h"

namespace nimbra {

namespace {

lindor::ComPtr<lindor::IFile> ItemAt(lindor::IFileSet* files, std::int32_t index)
{
    lindor::ComPtr<lindor::IFile> file;
    if (files->get_Item(index, file.put()) != lindor::S_OK) file.reset();
    return file;
}

std::int32_t CountOf(lindor::IFileSet* files)
{
    std::int32_t count = 0;
    if (files == nullptr || files->get_Count(&count) != lindor::S_OK) return 0;
    return count;
}

}  // namespace

QList<AttachedFile> AttachedFiles::of(lindor::IFileSet* files)
{
    QList<AttachedFile> list;
    const std::int32_t count = CountOf(files);
    for (std::int32_t i = 0; i < count; ++i) {
        const lindor::ComPtr<lindor::IFile> file = ItemAt(files, i);
        if (!file) continue;
        AttachedFile entry;
        entry.id = NumberOf(file.get(), &lindor::IFile::get_ID);
        entry.name = TextOf(file.get(), &lindor::IFile::get_FileName);
        entry.size = NumberOf(file.get(), &lindor::IFile::get_FileSize);
        entry.date = DateOf(file.get(), &lindor::IFile::get_FileDate);
        list.append(entry);
    }
    return list;
}

lindor::ComPtr<lindor::IFile> AttachedFiles::find(lindor::IFileSet* files, int id)
{
    const std::int32_t count = CountOf(files);
    for (std::int32_t i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IFile> file = ItemAt(files, i);
        if (file && NumberOf(file.get(), &lindor::IFile::get_ID) == id) return file;
    }
    return nullptr;
}

QIcon AttachedFiles::iconFor(const QString& fileName)
{
    static const QFileIconProvider icons;
    const QIcon icon = icons.icon(QFileInfo(fileName));
    // Without an icon theme the desktop knows no type icons; a plain file
    // icon keeps the icon views readable.
    if (!icon.pixmap(16, 16).isNull()) return icon;
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

}  // namespace nimbra
