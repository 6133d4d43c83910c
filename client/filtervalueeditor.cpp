#include "client/filtervalueeditor.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QStackedLayout>
#include <QToolButton>

#include "widgets/enginedate.h"

namespace nimbra {

FilterValueEditor::FilterValueEditor(QWidget* parent) : QWidget(parent)
{
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("valueList"));

    textPage_ = new QWidget(this);
    text_ = new QLineEdit(textPage_);
    text_->setObjectName(QStringLiteral("valueText"));
    wildcards_ = new QToolButton(textPage_);
    wildcards_->setObjectName(QStringLiteral("wildcardButton"));
    wildcards_->setText(QStringLiteral("..."));
    wildcards_->setPopupMode(QToolButton::InstantPopup);
    wildcards_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(wildcards_);
    menu->setObjectName(QStringLiteral("wildcardMenu"));
    menu->addAction(tr("Any Character"), this, [this] { insertWildcard(QStringLiteral("%")); });
    menu->addAction(tr("Any One Character"), this, [this] { insertWildcard(QStringLiteral("_")); });
    wildcards_->setMenu(menu);
    auto* textRow = new QHBoxLayout(textPage_);
    textRow->setContentsMargins(0, 0, 0, 0);
    textRow->setSpacing(2);
    textRow->addWidget(text_, 1);
    textRow->addWidget(wildcards_);

    date_ = new QDateEdit(this);
    date_->setObjectName(QStringLiteral("valueDate"));
    date_->setCalendarPopup(true);

    pages_ = new QStackedLayout(this);
    pages_->setContentsMargins(0, 0, 0, 0);
    pages_->addWidget(list_);
    pages_->addWidget(textPage_);
    pages_->addWidget(date_);
    // Every page as wide as the widest, so switching fields does not move
    // the controls beside the editor.
    setMinimumWidth(180);
}

void FilterValueEditor::reset(FilterFields::Kind kind, const QStringList& choices)
{
    kind_ = kind;
    switch (kind) {
        case FilterFields::Kind::List:
            list_->clear();
            list_->addItems(choices);
            list_->setCurrentIndex(choices.isEmpty() ? -1 : 0);
            pages_->setCurrentWidget(list_);
            return;
        case FilterFields::Kind::Text:
            text_->clear();
            pages_->setCurrentWidget(textPage_);
            return;
        case FilterFields::Kind::Date:
            date_->setDate(QDate::currentDate());
            pages_->setCurrentWidget(date_);
            return;
    }
}

void FilterValueEditor::setValue(const lindor::Variant& value)
{
    const QString text = QString::fromStdString(value.text());
    switch (kind_) {
        case FilterFields::Kind::List:
            list_->setCurrentIndex(list_->findText(text, Qt::MatchExactly));
            return;
        case FilterFields::Kind::Text:
            text_->setText(text);
            return;
        case FilterFields::Kind::Date:
            if (value.vt() == lindor::VT_DATE && value.date() != 0.0)
                date_->setDate(EngineDate::toDateTime(value.date()).date());
            return;
    }
}

lindor::Variant FilterValueEditor::value() const
{
    switch (kind_) {
        case FilterFields::Kind::List:
            return lindor::Variant::Text(list_->currentText().toStdString());
        case FilterFields::Kind::Text:
            return lindor::Variant::Text(text_->text().toStdString());
        case FilterFields::Kind::Date:
            break;
    }
    return lindor::Variant::Date(EngineDate::fromDateTime(date_->date().startOfDay()));
}

void FilterValueEditor::insertWildcard(const QString& wildcard)
{
    text_->insert(wildcard);
    text_->setFocus();
}

}  // namespace nimbra
