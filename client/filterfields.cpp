#include "client/filterfields.h"

#include <array>

namespace nimbra {

namespace {

using Kind = FilterFields::Kind;
using Choices = FilterFields::Choices;

// Indexed by eLogCondition - 1.
const std::array<const char*, 8> kConditionTexts = {"Equal",        "Not Equal", "Larger Than",
                                                    "Larger Equal", "Less Than", "Less Equal",
                                                    "Not",          "Include"};

}  // namespace

const std::vector<FilterFields::Field>& FilterFields::all()
{
    static const std::vector<Field> fields = {
        {QStringLiteral("Severity"), QStringLiteral("SeverityName"), Kind::List,
         Choices::Severities},
        {QStringLiteral("Status"), QStringLiteral("StatusName"), Kind::List, Choices::Statuses},
        {QStringLiteral("Priority"), QStringLiteral("PriorityName"), Kind::List,
         Choices::Priorities},
        {QStringLiteral("Reproductive"), QStringLiteral("ReproductiveName"), Kind::List,
         Choices::Reproductives},
        {QStringLiteral("Description"), QStringLiteral("Description"), Kind::Text, Choices::None},
        {QStringLiteral("Report"), QStringLiteral("Report"), Kind::Text, Choices::None},
        {QStringLiteral("Recreate Step"), QStringLiteral("RecreateStep"), Kind::Text,
         Choices::None},
        {QStringLiteral("Workaround"), QStringLiteral("Workaround"), Kind::Text, Choices::None},
        {QStringLiteral("Resolution"), QStringLiteral("Resolution"), Kind::Text, Choices::None},
        {QStringLiteral("Reported By"), QStringLiteral("ReportedBy"), Kind::List, Choices::Users},
        {QStringLiteral("Reported In Version"), QStringLiteral("ReportedInVersion"), Kind::List,
         Choices::Versions},
        {QStringLiteral("Reported Date"), QStringLiteral("ReportedDate"), Kind::Date,
         Choices::None},
        {QStringLiteral("Fixed By"), QStringLiteral("FixedBy"), Kind::List, Choices::Users},
        {QStringLiteral("Fixed In Version"), QStringLiteral("FixedInVersion"), Kind::List,
         Choices::Versions},
        {QStringLiteral("Fixed Date"), QStringLiteral("FixedDate"), Kind::Date, Choices::None},
        {QStringLiteral("Verified By"), QStringLiteral("VerifiedBy"), Kind::List, Choices::Users},
        {QStringLiteral("Verified Date"), QStringLiteral("VerifiedDate"), Kind::Date,
         Choices::None},
        {QStringLiteral("Classification"), QStringLiteral("Classification"), Kind::List,
         Choices::Classifications},
    };
    return fields;
}

QStringList FilterFields::shownNames()
{
    QStringList names;
    for (const Field& field : all()) names.append(field.shown);
    return names;
}

const FilterFields::Field* FilterFields::byShown(const QString& shown)
{
    for (const Field& field : all())
        if (field.shown == shown) return &field;
    return nullptr;
}

const FilterFields::Field* FilterFields::byStored(const QString& stored)
{
    for (const Field& field : all())
        if (field.stored.compare(stored, Qt::CaseInsensitive) == 0) return &field;
    return nullptr;
}

QStringList FilterFields::conditionsFor(Kind kind)
{
    switch (kind) {
        case Kind::Text:
            return {QStringLiteral("Equal"), QStringLiteral("Not Equal"),
                    QStringLiteral("Include")};
        case Kind::List:
            return {QStringLiteral("Equal"), QStringLiteral("Not Equal")};
        case Kind::Date:
            break;
    }
    return {QStringLiteral("Equal"),       QStringLiteral("Not Equal"),
            QStringLiteral("Larger Than"), QStringLiteral("Larger Equal"),
            QStringLiteral("Less Than"),   QStringLiteral("Less Equal")};
}

QString FilterFields::conditionText(lindor::eLogCondition condition)
{
    if (condition < lindor::Equal || condition > lindor::Like) return QString();
    return QString::fromLatin1(kConditionTexts[condition - lindor::Equal]);
}

lindor::eLogCondition FilterFields::conditionOf(const QString& text)
{
    for (std::size_t i = 0; i < kConditionTexts.size(); ++i)
        if (text == QLatin1String(kConditionTexts[i]))
            return static_cast<lindor::eLogCondition>(lindor::Equal + static_cast<int>(i));
    return lindor::Equal;
}

QStringList FilterFields::andOrTexts()
{
    return {QStringLiteral("And"), QStringLiteral("Or")};
}

QString FilterFields::andOrText(lindor::eLogOperation operation)
{
    return operation == lindor::LogAnd ? QStringLiteral("And") : QStringLiteral("Or");
}

lindor::eLogOperation FilterFields::andOrOf(const QString& text)
{
    return text == QLatin1String("And") ? lindor::LogAnd : lindor::LogOr;
}

}  // namespace nimbra
