#pragma once
// The choice of the report file.

#include <QDialog>

namespace pellmora {

class TExportForm : public QDialog {
    Q_OBJECT
  public:
    explicit TExportForm(QWidget* parent = nullptr);
};

} // namespace pellmora
