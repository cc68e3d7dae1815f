#include "settings/ui/EditMaskUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TEditMaskForm::TEditMaskForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "EditMaskForm", QStringLiteral("Add File Mask"));
}

} // namespace pellmora
