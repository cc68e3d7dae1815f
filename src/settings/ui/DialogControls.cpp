#include "settings/ui/DialogControls.h"

#include <QPushButton>

namespace pellmora {

QPushButton* DialogButton(QWidget* parent, const char* name, const QString& caption) {
    return NamedControl(new QPushButton(caption, parent), name, caption);
}

} // namespace pellmora
