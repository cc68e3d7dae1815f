#include "actions/ShellActions.h"

#include <QByteArray>
#include <QFile>

namespace pellmora {

namespace {

// The record behind a selected row, or none for no row or an index outside the list.
const TFileInfoType* SelectedFile(const SearchState& state, int32_t record) {
    if (record < 0 || record > state.ResultLast) return nullptr;
    if (static_cast<size_t>(record) >= state.ResultList.size()) return nullptr;
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(record)];
    if (file.DirIndex < 0 || static_cast<size_t>(file.DirIndex) >= state.DirTable.size())
        return nullptr;
    return &file;
}

} // namespace

QUrl LocalFileUrl(const std::string& nativePath) {
    const QByteArray bytes = QByteArray::fromStdString(nativePath);
    const QString text = QFile::decodeName(bytes);
    if (QFile::encodeName(text) == bytes) return QUrl::fromLocalFile(text);
    return QUrl::fromEncoded(QByteArrayLiteral("file://") + bytes.toPercentEncoding("/"),
                             QUrl::StrictMode);
}

void OpenContainingFolder(const SearchState& state, int32_t record, UrlOpener& opener) {
    const TFileInfoType* file = SelectedFile(state, record);
    if (!file || !opener) return;
    opener(LocalFileUrl(state.DirTable[static_cast<size_t>(file->DirIndex)]));
}

void OpenWithAssociatedProgram(const SearchState& state, int32_t record, UrlOpener& opener) {
    const TFileInfoType* file = SelectedFile(state, record);
    if (!file || !opener) return;
    opener(LocalFileUrl(FullPath(state, *file)));
}

void ShowFileProperties(const SearchState& state, int32_t record, FilePropertiesService& service) {
    const TFileInfoType* file = SelectedFile(state, record);
    if (!file) return;
    service.ShowItemProperties(LocalFileUrl(FullPath(state, *file)));
}

} // namespace pellmora
