// The window's message boxes answered from the keyboard.

#include "ui/QtMessagePrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

// Presses key in the box as soon as it is up; returns the box's answer and its buttons' texts.
std::pair<PromptButton, QStringList> Answer(PromptKind kind, const QList<PromptButton>& buttons,
                                            Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        (void)QTest::qWaitForWindowActive(box); // mnemonics reach the active window only
        for (QAbstractButton* button : box->buttons())
            captions << button->text() + "|" + button->accessibleName();
        QTest::keyClick(box, key, modifiers);
        // A letter clicks its button as a mouse would, a moment later.
        if (!QTest::qWaitFor([box] { return !box->isVisible(); }, 1000)) box->done(0);
    });
    QtMessagePrompter prompter;
    return {prompter.Prompt(kind, QStringLiteral("text"), buttons), captions};
}

TEST(QtMessagePrompter, EscAnswersNoOrAbortOrTheOnlyOk) {
    using B = PromptButton;
    const struct {
        PromptKind Kind;
        QList<B> Buttons;
        B Escape;
        QStringList Captions;
    } cases[] = {
        {PromptKind::Confirm, {B::Yes, B::No}, B::No, {"&Yes|Yes", "&No|No"}},
        {PromptKind::Error, {B::Ok, B::Abort}, B::Abort, {"&OK|OK", "&Abort|Abort"}},
        {PromptKind::Information, {B::Ok}, B::Ok, {"&OK|OK"}},
        {PromptKind::ErrorReport, {B::Ok}, B::Ok, {"&OK|OK"}},
    };
    for (const auto& c : cases) {
        const auto [answer, captions] = Answer(c.Kind, c.Buttons, Qt::Key_Escape);
        EXPECT_EQ(answer, c.Escape) << static_cast<int>(c.Kind);
        EXPECT_EQ(captions, c.Captions);
    }
    // Each button also answers to its letter.
    EXPECT_EQ(Answer(PromptKind::Confirm, {B::Yes, B::No}, Qt::Key_Y, Qt::AltModifier).first,
              B::Yes);
}

} // namespace
