#pragma once
// The confirmation of a delete: recycle bin or for good.

#include <QDialog>

namespace pellmora {

class TDeleteForm : public QDialog {
    Q_OBJECT
  public:
    explicit TDeleteForm(QWidget* parent = nullptr);
};

} // namespace pellmora
