// The modeless box "Updating, please wait...." shown while a long engine call
// runs; it is painted before the call starts and closes when the object goes.
#pragma once

#include <QDialog>

namespace nimbra {

class UpdatingBox : public QDialog {
    Q_OBJECT
public:
    explicit UpdatingBox(QWidget* parent);
    ~UpdatingBox() override;
};

}  // namespace nimbra
