#pragma once
// File actions that only log which command was reached, and for which record.

#include "ui/FileActions.h"

#include <QStringList>

namespace pellmora::test {

class RecordingActions final : public FileActions {
  public:
    QStringList Calls;
    std::vector<int32_t> Records;

    void DeleteSelected(SearchState&) override { Log("delete selected", -1); }
    void MoveSelected(SearchState&) override { Log("move selected", -1); }
    void RenameSelected(SearchState&) override { Log("rename selected", -1); }
    void ExportList(const SearchState&, const QString&, const TDirectoryList&) override {
        Log("export", -1);
    }
    void DeleteThisFile(SearchState&, int32_t record) override { Log("delete", record); }
    void OpenContainingFolder(const SearchState&, int32_t record) override {
        Log("folder", record);
    }
    void OpenWithAssociatedProgram(const SearchState&, int32_t record) override {
        Log("open", record);
    }
    void ShowFileProperties(const SearchState&, int32_t record) override {
        Log("properties", record);
    }
    void PicturePreview(const SearchState&, int32_t record) override { Log("preview", record); }

  private:
    void Log(const char* call, int32_t record) {
        Calls << call;
        Records.push_back(record);
    }
};

} // namespace pellmora::test
