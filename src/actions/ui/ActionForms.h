#pragma once
// Pieces the action dialogs share: labels that show their text as it is (a typed name may hold
// "<" or "&"), the red warning line, the OK/Cancel row, and the modal run with the exchange
// values as the place for the answer.

#include "model/DialogExchange.h"

#include <QString>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace pellmora {

QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text);
void SetPlainText(QLabel* label, const QString& text);
QLabel* WarningText(QLabel* label);
QHBoxLayout* ButtonRow(QPushButton* ok, QPushButton* cancel);

// Centres and runs dialog; answer points at exchange while it is open.
void RunModal(QDialog& dialog, DialogExchange*& answer, DialogExchange& exchange);
// "Cancel": DialogChoice 0, then close.
void CancelDialog(QDialog& dialog, DialogExchange* answer);

} // namespace pellmora
