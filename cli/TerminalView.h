#pragma once
// The search's view on a terminal: messages to standard error with their "\n\r" breaks shown as
// line breaks, and, when standard error is a terminal, the status line twice a second.

#include "model/DuplicateTypes.h"
#include "search/SearchView.h"

#include <cstdio>

namespace pellmora::cli {

class TerminalView : public SearchView {
  public:
    explicit TerminalView(const SearchState& state, std::FILE* err);

    void PrepareToStart() override {}
    void PrepareToStop() override {}
    void SetTimerEnabled(bool enabled) override;
    void SetStatusText(const QString&) override {}
    void SetTotalFilesText(const QString&) override {}
    void SetDuplicateText(const QString& text) override { duplicateText_ = text; }
    void SetDiskUsingText(const QString&) override {}
    void SetProgress(int percent) override { progress_ = percent; }
    void SetResultRowCount(int) override {}
    void SetResultUpdatesEnabled(bool) override {}
    void ShowError(const QString& text) override;
    void ShowInformation(const QString& text) override;
    void ShowErrorReport(const QString& text) override;

    // Called from the event pump: redraws the status line when 500 ms have passed.
    void Tick();

    // The "originals + duplicates" counts the search last showed.
    const QString& DuplicateText() const { return duplicateText_; }

  private:
    void Write(const QString& text);
    void ClearStatusLine();

    const SearchState& state_;
    std::FILE* err_;
    bool live_ = false;
    bool timerEnabled_ = false;
    bool statusShown_ = false;
    uint32_t lastTick_ = 0;
    int progress_ = 0;
    QString duplicateText_;
};

} // namespace pellmora::cli
