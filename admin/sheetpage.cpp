#include "admin/sheetpage.h"

namespace nimbra {

SheetPage::SheetPage(const QString& title, QWidget* parent) : QWizardPage(parent)
{
    setTitle(title);
}

void SheetPage::enterOnce()
{
    if (entered_) return;
    entered_ = true;
    enter();
}

}  // namespace nimbra
