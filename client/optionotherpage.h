// The page "Other" of the options sheet: the date format of every date
// text, shown as a pattern ("dd,M,yyyy") and chosen from "&Format".
#pragma once

#include <QWidget>

class QLineEdit;
class QMenu;
class QPushButton;

namespace nimbra {

class ClientOptions;

class OptionOtherPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionOtherPage(QWidget* parent = nullptr);

    void load(const ClientOptions& options);
    void store(ClientOptions* options) const;

    QLineEdit* pattern() const { return pattern_; }
    QPushButton* formatButton() const { return format_; }
    // The pop-up of "&Format"; choosing an entry puts its pattern in the box.
    QMenu* formats() const { return formats_; }

private:
    QLineEdit* pattern_ = nullptr;
    QPushButton* format_ = nullptr;
    QMenu* formats_ = nullptr;
};

}  // namespace nimbra
