// The page "General" of the options sheet: the database opened at start,
// the login used with it, the project then activated, "&Test" to try them,
// and the toolbar's icon size. Each box enables what lies inside it. The
// project lists are read through a context of their own (DatabaseProbe).
#pragma once

#include <QList>
#include <QWidget>

#include "client/databaseprobe.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace nimbra {

class ClientOptions;
class PopupComboBox;

class OptionGeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionGeneralPage(QWidget* parent = nullptr);

    // Fills the page; with a default project the lists are read at once
    // and show the saved project and version.
    void load(const ClientOptions& options);
    // What OK keeps: the password only when it is to be saved.
    void store(ClientOptions* options) const;

    // "&Browse...", and filling the lists (false, with the engine's
    // description shown, when they could not be read).
    void browse();
    bool fillLists(bool selectSaved);
    void test();
    bool listsLoaded() const { return listsLoaded_; }

    QCheckBox* defaultDatabase() const { return defaultDatabase_; }
    QLineEdit* path() const { return path_; }
    QPushButton* browseButton() const { return browse_; }
    QCheckBox* useDefaultLogin() const { return useLogin_; }
    QLineEdit* loginName() const { return loginName_; }
    QLineEdit* password() const { return password_; }
    QCheckBox* savePassword() const { return savePassword_; }
    QCheckBox* defaultProject() const { return defaultProject_; }
    QComboBox* projects() const;
    QComboBox* versions() const;
    QPushButton* testButton() const { return test_; }
    QCheckBox* largeIcons() const { return largeIcons_; }

private:
    QLayout* buildDatabaseBox();
    QLayout* buildLoginBox();
    QLayout* buildProjectBox();
    void updateEnabling();
    void forgetLists() { listsLoaded_ = false; }
    void fillListsOnOpening();
    void showVersionsOf(int projectId);
    static int selectedId(const QComboBox* list);

    bool listsLoaded_ = false;
    QList<DatabaseProbe::Project> projectChoices_;
    int savedProject_ = 0;
    int savedVersion_ = 0;

    QCheckBox* defaultDatabase_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPushButton* browse_ = nullptr;
    QCheckBox* useLogin_ = nullptr;
    QLineEdit* loginName_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* savePassword_ = nullptr;
    QCheckBox* defaultProject_ = nullptr;
    PopupComboBox* projects_ = nullptr;
    PopupComboBox* versions_ = nullptr;
    QPushButton* test_ = nullptr;
    QCheckBox* largeIcons_ = nullptr;
    QList<QWidget*> loginLabels_;
    QList<QWidget*> projectLabels_;
};

}  // namespace nimbra
