#include "TerminalView.h"

#include "model/NativeText.h"
#include "model/TextFormats.h"
#include "search/StatusLine.h"

#include <QFile>
#include <unistd.h>

namespace pellmora::cli {

TerminalView::TerminalView(const SearchState& state, std::FILE* err)
    : state_(state), err_(err), live_(isatty(fileno(err)) != 0) {}

void TerminalView::SetTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    lastTick_ = TickCount();
    if (!enabled) ClearStatusLine();
}

void TerminalView::Tick() {
    if (!live_ || !timerEnabled_) return;
    const uint32_t now = TickCount();
    if (now - lastTick_ < 500) return;
    lastTick_ = now;
    QString status = ElapsedText(now - state_.StartTick);
    if (state_.SearchPhase == 1) {
        status += QStringLiteral("  Comparing %1%  ").arg(progress_) + Decoded(state_.CurrentFile);
    } else {
        status += QStringLiteral("  ") + ScanStatusText(state_);
    }
    std::fprintf(err_, "\r\033[K%s", status.left(150).toLocal8Bit().constData());
    std::fflush(err_);
    statusShown_ = true;
}

void TerminalView::ClearStatusLine() {
    if (!statusShown_) return;
    std::fputs("\r\033[K", err_);
    statusShown_ = false;
}

void TerminalView::Write(const QString& text) {
    ClearStatusLine();
    std::fputs(WithLineBreaks(text).toLocal8Bit().constData(), err_);
    std::fputc('\n', err_);
    std::fflush(err_);
}

void TerminalView::ShowError(const QString& text) {
    Write(text);
}

void TerminalView::ShowInformation(const QString& text) {
    Write(text);
}

void TerminalView::ShowErrorReport(const QString& text) {
    Write(QStringLiteral("pellmora-scan: ") + text);
}

} // namespace pellmora::cli
