// The page "Version": the project's versions with "&Add", "&Edit" and
// "&Delete". Changes are kept in a VersionList and reach the project only
// when the sheet is confirmed.
#pragma once

#include "admin/sheetpage.h"
#include "admin/versionlist.h"

class QPushButton;
class QTreeWidget;

namespace nimbra {

class ProjectVersionPage : public SheetPage {
    Q_OBJECT
public:
    explicit ProjectVersionPage(QWidget* parent = nullptr);

    void setVersions(const VersionList& versions);
    const VersionList& versions() const { return versions_; }
    QTreeWidget* list() const { return list_; }

    void addVersion();
    void editVersion();
    void deleteVersions();

private:
    void showRows();
    int currentRow() const;

    VersionList versions_;
    QTreeWidget* list_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
};

}  // namespace nimbra
