#include "client/clientoptions.h"

#include <QFile>
#include <QSaveFile>

#include "client/archivereader.h"
#include "client/archivewriter.h"
#include "client/clientfiles.h"
#include "client/passwordblock.h"

namespace nimbra {

namespace {

bool ReadFlag(ArchiveReader& in, bool* flag)
{
    std::int32_t value = 0;
    if (!in.readInt32(&value)) return false;
    *flag = value != 0;
    return true;
}

bool ReadInt(ArchiveReader& in, int* target)
{
    std::int32_t value = 0;
    if (!in.readInt32(&value)) return false;
    *target = value;
    return true;
}

}  // namespace

QString ClientOptions::filePath()
{
    return ClientFiles::path(QStringLiteral("Bug.cfg"));
}

void ClientOptions::setPassword(const QString& password)
{
    password_ = PasswordBlock::fitted(password);
}

QByteArray ClientOptions::toBytes() const
{
    ArchiveWriter out;
    out.writeString(databasePath_);
    out.writeString(loginName_);
    out.writeInt32(projectId_);
    out.writeInt32(versionId_);
    out.writeRaw(PasswordBlock::encipher(savePassword_ ? password_ : QString()));
    for (bool flag :
         {defaultDatabase_, useDefaultLogin_, defaultProject_, savePassword_, largeToolbarIcons_})
        out.writeInt32(flag ? 1 : 0);
    out.writeString(dateFormat_);
    return out.bytes();
}

bool ClientOptions::fromBytes(const QByteArray& bytes)
{
    // Each read fails once the archive is damaged, leaving its field as it was.
    ArchiveReader in(bytes);
    in.readString(&databasePath_);
    in.readString(&loginName_);
    ReadInt(in, &projectId_);
    ReadInt(in, &versionId_);
    QByteArray block;
    if (in.readRaw(PasswordBlock::kSize, &block)) password_ = PasswordBlock::decipher(block);
    ReadFlag(in, &defaultDatabase_);
    ReadFlag(in, &useDefaultLogin_);
    ReadFlag(in, &defaultProject_);
    ReadFlag(in, &savePassword_);
    ReadFlag(in, &largeToolbarIcons_);
    in.readString(&dateFormat_);
    return !in.damaged();
}

ClientOptions::LoadResult ClientOptions::load(QString* error)
{
    QFile file(filePath());
    if (!file.exists()) return LoadResult::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString());
        return LoadResult::Failed;
    }
    if (!fromBytes(file.readAll())) {
        *error = QStringLiteral("%1 is damaged: it ends before all options were read.")
                     .arg(file.fileName());
        return LoadResult::Failed;
    }
    return LoadResult::Loaded;
}

bool ClientOptions::save(QString* error) const
{
    if (!ClientFiles::makeFolder(error)) return false;
    QSaveFile file(filePath());
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) &&
                         file.write(toBytes()) >= 0 && file.commit();
    if (!written) {
        *error = QStringLiteral("Cannot write %1: %2").arg(filePath(), file.errorString());
        return false;
    }
    return true;
}

}  // namespace nimbra
