#pragma once
// The catalogue of named masks and the choice of the active ones.

#include <QDialog>

namespace pellmora {

class TMaskForm : public QDialog {
    Q_OBJECT
  public:
    explicit TMaskForm(QWidget* parent = nullptr);
};

} // namespace pellmora
