#pragma once
// Pieces the action dialogs share: labels that show their text as it is (a typed name may hold
// "<" or "&"), the red warning line and the OK/Cancel row.

#include <QString>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace pellmora {

QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text);
void SetPlainText(QLabel* label, const QString& text);
QLabel* WarningText(QLabel* label);
QHBoxLayout* ButtonRow(QPushButton* ok, QPushButton* cancel);

} // namespace pellmora
