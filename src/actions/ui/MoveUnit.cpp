#include "actions/ui/MoveUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TMoveForm::TMoveForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "MoveForm", QStringLiteral("Move duplicate files to specified directory"));
}

} // namespace pellmora
