#include "ui/QtMessagePrompter.h"

#include "model/ui/DialogFrame.h"

#include <QMessageBox>
#include <QPushButton>

namespace pellmora {

namespace {

QString ButtonCaption(PromptButton button) {
    switch (button) {
    case PromptButton::Ok:
        return QStringLiteral("&OK");
    case PromptButton::Abort:
        return QStringLiteral("&Abort");
    case PromptButton::Yes:
        return QStringLiteral("&Yes");
    case PromptButton::No:
        return QStringLiteral("&No");
    }
    return {};
}

QMessageBox::Icon PromptIcon(PromptKind kind) {
    switch (kind) {
    case PromptKind::Information:
        return QMessageBox::Information;
    case PromptKind::Confirm:
        return QMessageBox::Question;
    default:
        return QMessageBox::Critical;
    }
}

} // namespace

PromptButton QtMessagePrompter::Prompt(PromptKind kind, const QString& text,
                                       const QList<PromptButton>& buttons) {
    QMessageBox box(PromptIcon(kind), PromptCaption(kind), MessageBoxText(kind, text));
    QList<QPair<QAbstractButton*, PromptButton>> map;
    for (PromptButton b : buttons) {
        QPushButton* button = box.addButton(ButtonCaption(b), QMessageBox::AcceptRole);
        button->setAccessibleName(WithoutMnemonic(button->text()));
        map.append({button, b});
    }
    // Esc answers like the close box: the last button (No, Abort, or the only OK).
    if (!map.isEmpty()) box.setEscapeButton(map.back().first);
    box.adjustSize();
    CentreOnScreen(box);
    box.exec();
    for (const auto& [widget, button] : map)
        if (box.clickedButton() == widget) return button;
    return buttons.isEmpty() ? PromptButton::Ok : buttons.back();
}

} // namespace pellmora
