#include "settings/ui/SettingsUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TSettingsForm::TSettingsForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "SettingsForm", QStringLiteral("Settings"), QSize(403, 225));
}

} // namespace pellmora
