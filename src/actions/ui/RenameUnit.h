#pragma once
// The confirmation of a rename, with the prefix or postfix.

#include <QDialog>

namespace pellmora {

class TRenameForm : public QDialog {
    Q_OBJECT
  public:
    explicit TRenameForm(QWidget* parent = nullptr);
};

} // namespace pellmora
