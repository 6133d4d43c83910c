#include "client/clientoptions.h"

#include "client/archivereader.h"
#include "client/archivewriter.h"
#include "client/clientfiles.h"
#include "client/passwordblock.h"

namespace nimbra {

namespace {

const QString kFileName = QStringLiteral("Bug.cfg");

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
    return ClientFiles::path(kFileName);
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
    QByteArray bytes;
    switch (ClientFiles::read(kFileName, &bytes, error)) {
        case ClientFiles::ReadResult::Missing:
            return LoadResult::Missing;
        case ClientFiles::ReadResult::Failed:
            return LoadResult::Failed;
        case ClientFiles::ReadResult::Read:
            break;
    }
    if (fromBytes(bytes)) return LoadResult::Loaded;
    *error = ClientFiles::damagedText(kFileName);
    return LoadResult::Failed;
}

bool ClientOptions::save(QString* error) const
{
    return ClientFiles::write(kFileName, toBytes(), error);
}

}  // namespace nimbra
