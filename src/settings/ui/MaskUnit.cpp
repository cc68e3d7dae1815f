#include "settings/ui/MaskUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TMaskForm::TMaskForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "MaskForm", QStringLiteral("File Masks"), QSize(434, 297));
}

} // namespace pellmora
