// The "General" page of the bug editor: type, description, the name lists,
// dates, estimate, and who reported, resolved and verified the bug. It
// applies the status rules and the field rights, says why the bug cannot be
// stored yet, and writes itself into the bug.
#pragma once

#include <lindor/lindor.h>

#include <QMap>
#include <QWidget>

#include <memory>

#include "client/bugsheetsubject.h"
#include "client/generalrules.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace nimbra {

class DateEdit;
class DurationEdit;

class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);
    ~GeneralPage() override;

    // Fills the lists and the controls; false after an engine failure (its
    // description left for the caller).
    bool load(const BugSheetSubject& subject);
    // The first reason the page cannot be stored, or empty.
    QString problem() const;
    // Writes the page into the bug in its fixed order; false at the first
    // engine failure.
    bool writeTo(lindor::IBug* bug) const;
    // As when the user picks a status in the list.
    void pickStatus(const QString& status);

    QWidget* control(GeneralControl control) const { return controls_.value(control); }
    QRadioButton* bugButton() const { return bugButton_; }
    QRadioButton* featureButton() const { return featureButton_; }
    QLineEdit* description() const { return description_; }
    QLabel* descriptionLabel() const { return descriptionLabel_; }
    QComboBox* statusList() const { return status_; }
    QComboBox* severityList() const { return severity_; }
    QComboBox* priorityList() const { return priority_; }
    QComboBox* reproductiveList() const { return reproductive_; }
    QComboBox* classificationList() const { return classification_; }
    QComboBox* reportedVersionList() const { return reportedVersion_; }
    QComboBox* resolvedVersionList() const { return resolvedVersion_; }
    DateEdit* dateDue() const { return dateDue_; }
    DurationEdit* estimate() const { return estimate_; }
    QLineEdit* reportedBy() const { return reportedBy_; }
    DateEdit* reportedDate() const { return reportedDate_; }
    QLineEdit* lastModifiedBy() const { return lastModifiedBy_; }
    DateEdit* lastModifiedDate() const { return lastModifiedDate_; }
    QLineEdit* resolvedBy() const { return resolvedBy_; }
    DateEdit* resolvedDate() const { return resolvedDate_; }
    QLineEdit* verifiedBy() const { return verifiedBy_; }
    DateEdit* verifiedDate() const { return verifiedDate_; }
    bool resolvedGroupShown() const { return resolvedShown_; }
    bool verifiedGroupShown() const { return verifiedShown_; }

private:
    void build();
    QLabel* addLabel(const QString& text, QWidget* buddy);
    void addPair(int row, int column, QLabel* label, QWidget* field);
    QComboBox* addList(const QString& name);
    QLineEdit* addReadOnly(const QString& name);
    DateEdit* addDate(const QString& name);
    void connectControls();

    bool fillLists();
    void loadNewReport();
    void loadStoredBug();
    void applyStatus(const QString& status);
    void fillReported(Fill fill);
    void fillResolved(Fill fill);
    void fillVerified(Fill fill);
    void showGroups(const StatusOutcome& outcome);
    void showResolvedGroup(bool shown);
    void showVerifiedGroup(bool shown);
    void applyEnabling();
    bool writeResolution(lindor::IBug* bug, const QString& status) const;

    BugSheetSubject subject_;
    std::unique_ptr<GeneralRules> rules_;
    QMap<GeneralControl, Gate> gates_;
    bool loading_ = true;
    bool resolvedShown_ = false;
    bool verifiedShown_ = false;

    QGridLayout* grid_ = nullptr;
    QMap<GeneralControl, QWidget*> controls_;
    QList<QWidget*> resolvedGroup_;
    QList<QWidget*> verifiedGroup_;
    QRadioButton* bugButton_ = nullptr;
    QRadioButton* featureButton_ = nullptr;
    QLabel* descriptionLabel_ = nullptr;
    QLineEdit* description_ = nullptr;
    QComboBox* status_ = nullptr;
    QComboBox* severity_ = nullptr;
    QComboBox* priority_ = nullptr;
    QComboBox* reproductive_ = nullptr;
    QComboBox* classification_ = nullptr;
    DateEdit* dateDue_ = nullptr;
    DurationEdit* estimate_ = nullptr;
    QLineEdit* lastModifiedBy_ = nullptr;
    DateEdit* lastModifiedDate_ = nullptr;
    QLineEdit* reportedBy_ = nullptr;
    DateEdit* reportedDate_ = nullptr;
    QComboBox* reportedVersion_ = nullptr;
    QLineEdit* resolvedBy_ = nullptr;
    DateEdit* resolvedDate_ = nullptr;
    QComboBox* resolvedVersion_ = nullptr;
    QLineEdit* verifiedBy_ = nullptr;
    DateEdit* verifiedDate_ = nullptr;
};

}  // namespace nimbra
