// A combo box that says when its list is about to open, so that its entries
// can be read only when the user first wants to see them.
#pragma once

#include <QComboBox>

namespace nimbra {

class PopupComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void popupAboutToShow();
};

}  // namespace nimbra
