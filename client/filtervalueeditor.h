// The value editor of the filter dialog, one of three by the field's kind: a
// list of choices, a text box with "..." (which inserts the wildcards "%" and
// "_"), or a date control.
#pragma once

#include <lindor/lindor.h>

#include <QWidget>

#include "client/filterfields.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QStackedLayout;
class QToolButton;

namespace nimbra {

class FilterValueEditor : public QWidget {
    Q_OBJECT
public:
    explicit FilterValueEditor(QWidget* parent = nullptr);

    // Shows the editor of `kind`: the list refilled with `choices` and its
    // first entry selected, the text box emptied, or the date set to today.
    void reset(FilterFields::Kind kind, const QStringList& choices);
    // Shows a stored value: the list entry of that text (none when missing),
    // the text, or the date.
    void setValue(const lindor::Variant& value);
    // A text for the list and the text box, a date value for the date control.
    lindor::Variant value() const;
    FilterFields::Kind kind() const { return kind_; }

    // Inserts `wildcard` at the text box's caret and gives it the focus.
    void insertWildcard(const QString& wildcard);

    QComboBox* list() const { return list_; }
    QLineEdit* textBox() const { return text_; }
    QToolButton* wildcards() const { return wildcards_; }
    QDateEdit* dateBox() const { return date_; }

private:
    FilterFields::Kind kind_ = FilterFields::Kind::List;
    QStackedLayout* pages_ = nullptr;
    QComboBox* list_ = nullptr;
    QWidget* textPage_ = nullptr;
    QLineEdit* text_ = nullptr;
    QToolButton* wildcards_ = nullptr;
    QDateEdit* date_ = nullptr;
};

}  // namespace nimbra
