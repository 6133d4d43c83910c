// The "General" tab of the detail pane: the current bug's fields, read-only.
#pragma once

#include <lindor/lindor.h>

#include <QMap>
#include <QWidget>

class QLineEdit;

namespace nimbra {

class GeneralForm : public QWidget {
    Q_OBJECT
public:
    explicit GeneralForm(QWidget* parent = nullptr);

    // Null empties every field. Dates use `dateFormat` as the lists do.
    void showBug(lindor::IBug* bug, const QString& dateFormat);
    // The text shown beside a label, such as "Estimate Time".
    QString fieldText(const QString& label) const;

private:
    QMap<QString, QLineEdit*> fields_;
};

}  // namespace nimbra
