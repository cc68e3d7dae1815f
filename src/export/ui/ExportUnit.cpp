#include "export/ui/ExportUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TExportForm::TExportForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "ExportForm", QStringLiteral("Export List of Duplicates to External File"));
}

} // namespace pellmora
