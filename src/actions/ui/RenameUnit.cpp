#include "actions/ui/RenameUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TRenameForm::TRenameForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "RenameForm", QStringLiteral("Rename duplicate files"));
}

} // namespace pellmora
