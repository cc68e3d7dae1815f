#pragma once
// A look at a listed picture.

#include <QDialog>

namespace pellmora {

class TPicturePreviewForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPicturePreviewForm(QWidget* parent = nullptr);
};

} // namespace pellmora
