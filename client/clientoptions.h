// The client's per-installation options and their file "Bug.cfg" (little
// endian, in this order): database path, login name, project id, version id,
// the 64-byte password block, then five 0/1 flags (default database, use
// default login, default project, save password, large toolbar icons) and
// the date format. Bytes after the date format, written by a newer version,
// are ignored.
#pragma once

#include <QByteArray>
#include <QString>

namespace nimbra {

class ClientOptions {
public:
    enum class LoadResult { Loaded, Missing, Failed };

    static QString filePath();

    // Reads "Bug.cfg". A missing file is no error (defaults stay); an
    // unreadable or damaged one sets `error`, and what was read before the
    // damage stays.
    LoadResult load(QString* error);
    // Writes "Bug.cfg" whole or not at all, with mode 0600 (it may hold a
    // password).
    bool save(QString* error) const;

    QByteArray toBytes() const;
    // False for a damaged archive; the items before the damage are taken.
    bool fromBytes(const QByteArray& bytes);

    bool defaultDatabase() const { return defaultDatabase_; }
    void setDefaultDatabase(bool on) { defaultDatabase_ = on; }
    QString databasePath() const { return databasePath_; }
    void setDatabasePath(const QString& path) { databasePath_ = path; }
    bool useDefaultLogin() const { return useDefaultLogin_; }
    void setUseDefaultLogin(bool on) { useDefaultLogin_ = on; }
    QString loginName() const { return loginName_; }
    void setLoginName(const QString& name) { loginName_ = name; }
    QString password() const { return password_; }
    // At most 64 bytes are kept.
    void setPassword(const QString& password);
    bool savePassword() const { return savePassword_; }
    void setSavePassword(bool on) { savePassword_ = on; }
    bool defaultProject() const { return defaultProject_; }
    void setDefaultProject(bool on) { defaultProject_ = on; }
    int projectId() const { return projectId_; }
    void setProjectId(int id) { projectId_ = id; }
    int versionId() const { return versionId_; }
    void setVersionId(int id) { versionId_ = id; }
    bool largeToolbarIcons() const { return largeToolbarIcons_; }
    void setLargeToolbarIcons(bool on) { largeToolbarIcons_ = on; }
    // strftime-like % codes; empty means the locale's default date format.
    QString dateFormat() const { return dateFormat_; }
    void setDateFormat(const QString& format) { dateFormat_ = format; }

private:
    bool defaultDatabase_ = false;
    QString databasePath_;
    bool useDefaultLogin_ = false;
    QString loginName_;
    QString password_;
    bool savePassword_ = false;
    bool defaultProject_ = false;
    int projectId_ = 0;
    int versionId_ = 0;
    bool largeToolbarIcons_ = false;
    QString dateFormat_;
};

}  // namespace nimbra
