#include "client/generalform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "client/bugtexts.h"

namespace nimbra {

namespace {

using lindor::IBug;

struct Field {
    const char* label;
    lindor::HRESULT (IBug::*text)(std::string*);
    lindor::HRESULT (IBug::*date)(double*);
};

// Description spans the first row; the others fill three columns of pairs.
const Field kFields[] = {
    {"Description", &IBug::get_Description, nullptr},
    {"Status", &IBug::get_Status, nullptr},
    {"Severity", &IBug::get_Severity, nullptr},
    {"Priority", &IBug::get_Priority, nullptr},
    {"Reproductive", &IBug::get_Reproductive, nullptr},
    {"Classification", &IBug::get_Classification, nullptr},
    {"Date Due", nullptr, &IBug::get_DateDue},
    {"Estimate Time", nullptr, nullptr},
    {"Last modifyed by", &IBug::get_LastModifiedBy, nullptr},
    {"Last modified date", nullptr, &IBug::get_LastModifiedDate},
    {"Reported in version", &IBug::get_ReportedInVersion, nullptr},
    {"Reported by", &IBug::get_ReportedBy, nullptr},
    {"Reported date", nullptr, &IBug::get_ReportedDate},
    {"Resolved by", &IBug::get_FixedBy, nullptr},
    {"Resolved date", nullptr, &IBug::get_FixedDate},
    {"Resolved in version", &IBug::get_FixedInVersion, nullptr},
    {"Verified by", &IBug::get_VerifiedBy, nullptr},
    {"Verified date", nullptr, &IBug::get_VerifiedDate},
};

constexpr int kPairsPerRow = 3;

QString ValueOf(IBug* bug, const Field& field, const QString& dateFormat)
{
    if (field.text != nullptr) {
        std::string value;
        return (bug->*field.text)(&value) == lindor::S_OK ? QString::fromStdString(value)
                                                          : QString();
    }
    if (field.date != nullptr) {
        double value = 0.0;
        return (bug->*field.date)(&value) == lindor::S_OK ? BugTexts::dateText(value, dateFormat)
                                                          : QString();
    }
    std::int32_t minutes = 0;
    return bug->get_EstimatedTime(&minutes) == lindor::S_OK ? BugTexts::durationText(minutes)
                                                            : QString();
}

}  // namespace

GeneralForm::GeneralForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("generalForm"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    int index = 0;
    for (const Field& field : kFields) {
        const QString label = QString::fromLatin1(field.label);
        auto* value = new QLineEdit(this);
        value->setReadOnly(true);
        value->setMinimumWidth(110);
        value->setObjectName(QStringLiteral("field ") + label);
        auto* caption = new QLabel(label + QLatin1Char(':'), this);
        caption->setBuddy(value);
        fields_.insert(label, value);
        if (index == 0) {
            grid->addWidget(caption, 0, 0);
            grid->addWidget(value, 0, 1, 1, 2 * kPairsPerRow - 1);
        } else {
            const int row = 1 + (index - 1) / kPairsPerRow;
            const int pair = (index - 1) % kPairsPerRow;
            grid->addWidget(caption, row, 2 * pair);
            grid->addWidget(value, row, 2 * pair + 1);
        }
        ++index;
    }
    for (int pair = 0; pair < kPairsPerRow; ++pair) grid->setColumnStretch(2 * pair + 1, 1);
    grid->setRowStretch(1 + (index - 2) / kPairsPerRow + 1, 1);
}

void GeneralForm::showBug(lindor::IBug* bug, const QString& dateFormat)
{
    for (const Field& field : kFields) {
        QLineEdit* value = fields_.value(QString::fromLatin1(field.label));
        value->setText(bug != nullptr ? ValueOf(bug, field, dateFormat) : QString());
        value->setCursorPosition(0);
    }
}

QString GeneralForm::fieldText(const QString& label) const
{
    const QLineEdit* value = fields_.value(label);
    return value != nullptr ? value->text() : QString();
}

}  // namespace nimbra
