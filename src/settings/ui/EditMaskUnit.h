#pragma once
// Adding or editing one mask of the catalogue.

#include <QDialog>

namespace pellmora {

class TEditMaskForm : public QDialog {
    Q_OBJECT
  public:
    explicit TEditMaskForm(QWidget* parent = nullptr);
};

} // namespace pellmora
