#pragma once
// What a search shows while it runs and when it ends. The main window implements it with its
// controls, pellmora-scan on the terminal, and the tests with a recorder.

#include <QString>

namespace pellmora {

class SearchView {
  public:
    virtual ~SearchView() = default;

    // The window's searching state: controls disabled, statistics reset, button caption "Stop".
    virtual void PrepareToStart() = 0;
    // Back to idle: controls enabled again, button caption "Start". StopFlag is already 1.
    virtual void PrepareToStop() = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;

    virtual void SetStatusText(const QString& text) = 0; // third status panel
    virtual void SetTotalFilesText(const QString& text) = 0;
    virtual void SetDuplicateText(const QString& text) = 0;
    virtual void SetDiskUsingText(const QString& text) = 0;
    virtual void SetProgress(int percent) = 0;

    // The results view: its row count, and whether it repaints (suspended during a search).
    virtual void SetResultRowCount(int rows) = 0;
    virtual void SetResultUpdatesEnabled(bool enabled) = 0;

    virtual void ShowError(const QString& text) = 0;       // caption "Error", button "OK"
    virtual void ShowInformation(const QString& text) = 0; // caption "Information", button "OK"
    // The general error report: a failure that no command handles.
    virtual void ShowErrorReport(const QString& text) = 0;
};

} // namespace pellmora
