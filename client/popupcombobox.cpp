#include "client/popupcombobox.h"

namespace nimbra {

void PopupComboBox::showPopup()
{
    emit popupAboutToShow();
    QComboBox::showPopup();
}

}  // namespace nimbra
