#pragma once
// The confirmation of a move, with the target folder.

#include <QDialog>

namespace pellmora {

class TMoveForm : public QDialog {
    Q_OBJECT
  public:
    explicit TMoveForm(QWidget* parent = nullptr);
};

} // namespace pellmora
