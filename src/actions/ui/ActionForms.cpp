#include "actions/ui/ActionForms.h"

#include "model/ui/DialogFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace pellmora {

QLabel* PlainLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = Named(new QLabel(parent), name, text);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

void SetPlainText(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text);
}

QLabel* WarningText(QLabel* label) {
    // No one red reads on a light and on a dark theme's background alike (WCAG AA): a dark red
    // on a light one, a light red on a dark one.
    const bool darkGround = label->palette().color(QPalette::Window).lightness() < 128;
    label->setStyleSheet(darkGround ? QStringLiteral("color: #FF8080;")
                                    : QStringLiteral("color: #B00000;"));
    label->setWordWrap(true);
    return label;
}

QHBoxLayout* ButtonRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace pellmora
