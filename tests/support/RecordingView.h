#pragma once
// A search view that records every call, for asserting what a search showed and in which order.

#include "search/SearchView.h"

#include <QString>
#include <QStringList>

namespace pellmora::test {

class RecordingView : public SearchView {
  public:
    void PrepareToStart() override { Log(QStringLiteral("PrepareToStart")); }
    void PrepareToStop() override { Log(QStringLiteral("PrepareToStop")); }
    void SetTimerEnabled(bool enabled) override {
        Log(QStringLiteral("Timer: ") + (enabled ? QStringLiteral("on") : QStringLiteral("off")));
    }
    void SetStatusText(const QString& text) override {
        Status = text;
        Log(QStringLiteral("Status: ") + text);
    }
    void SetTotalFilesText(const QString& text) override { TotalFiles = text; }
    void SetDuplicateText(const QString& text) override { Duplicates = text; }
    void SetDiskUsingText(const QString& text) override { DiskUsing = text; }
    void SetProgress(int percent) override { Progress = percent; }
    void SetResultRowCount(int rows) override {
        Rows = rows;
        Log(QStringLiteral("Rows: ") + QString::number(rows));
    }
    void SetResultUpdatesEnabled(bool enabled) override {
        Log(QStringLiteral("Updates: ") + (enabled ? QStringLiteral("on") : QStringLiteral("off")));
    }
    void ShowError(const QString& text) override { Log(QStringLiteral("Error: ") + text); }
    void ShowInformation(const QString& text) override {
        Information = text;
        Log(QStringLiteral("Information: ") + text);
    }
    void ShowErrorReport(const QString& text) override {
        Log(QStringLiteral("ErrorReport: ") + text);
    }

    QStringList Calls;
    QString Status, TotalFiles, Duplicates, DiskUsing, Information;
    int Progress = -1;
    int Rows = -1;

  private:
    void Log(const QString& call) { Calls << call; }
};

} // namespace pellmora::test
