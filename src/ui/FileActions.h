#pragma once
// The commands that act on listed files or on the list as a whole, behind one interface: the
// window only reaches them and repaints afterwards, the program plugs in the real commands, and
// tests plug in a recorder.

#include "model/DuplicateTypes.h"

#include <QString>

namespace pellmora {

class FileActions {
  public:
    virtual ~FileActions() = default;

    // Batch commands on the ticked entries of ResultList.
    virtual void DeleteSelected(SearchState& state) = 0;
    virtual void MoveSelected(SearchState& state) = 0;
    virtual void RenameSelected(SearchState& state) = 0;
    // The report of the list; duplicateText is the "Original files + duplicates:" box as shown,
    // folders the directory list as it stands.
    virtual void ExportList(const SearchState& state, const QString& duplicateText,
                            const TDirectoryList& folders) = 0;

    // Commands on the selected row's file: record is its ResultList index, -1 when no row is
    // selected.
    virtual void DeleteThisFile(SearchState& state, int32_t record) = 0;
    virtual void OpenContainingFolder(const SearchState& state, int32_t record) = 0;
    virtual void OpenWithAssociatedProgram(const SearchState& state, int32_t record) = 0;
    virtual void ShowFileProperties(const SearchState& state, int32_t record) = 0;
    virtual void PicturePreview(const SearchState& state, int32_t record) = 0;
};

// Does nothing: a window that has no file actions plugged in.
class NoFileActions final : public FileActions {
  public:
    void DeleteSelected(SearchState&) override {}
    void MoveSelected(SearchState&) override {}
    void RenameSelected(SearchState&) override {}
    void ExportList(const SearchState&, const QString&, const TDirectoryList&) override {}
    void DeleteThisFile(SearchState&, int32_t) override {}
    void OpenContainingFolder(const SearchState&, int32_t) override {}
    void OpenWithAssociatedProgram(const SearchState&, int32_t) override {}
    void ShowFileProperties(const SearchState&, int32_t) override {}
    void PicturePreview(const SearchState&, int32_t) override {}
};

} // namespace pellmora
