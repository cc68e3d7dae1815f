#include "actions/ui/DeleteUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TDeleteForm::TDeleteForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "DeleteForm", QStringLiteral("Remove Duplicate Files"));
}

} // namespace pellmora
