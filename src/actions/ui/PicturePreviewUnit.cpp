#include "actions/ui/PicturePreviewUnit.h"

#include "ui/DialogFrame.h"

namespace pellmora {

TPicturePreviewForm::TPicturePreviewForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "PicturePreviewForm", QStringLiteral("Picture Preview"));
    resize(490, 410);
}

} // namespace pellmora
