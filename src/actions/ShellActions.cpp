#include "actions/ShellActions.h"

#include "model/NativeText.h"

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

bool OpenPath(const UrlOpener& opener, const std::string& path, MessagePrompter& prompter) {
    return OpenOrSay(opener, LocalFileUrl(path), Decoded(path), prompter);
}

} // namespace

QString NoProgramText(const QString& what) {
    return QStringLiteral("No program is set up to open \"") + what + QStringLiteral("\".");
}

bool OpenOrSay(const UrlOpener& opener, const QUrl& url, const QString& what,
               MessagePrompter& prompter) {
    if (opener && opener(url)) return true;
    prompter.Error(NoProgramText(what));
    return false;
}

bool OpenOrSay(const UrlOpener& opener, const QUrl& url, MessagePrompter& prompter) {
    return OpenOrSay(opener, url, url.isLocalFile() ? url.toLocalFile() : url.toString(), prompter);
}

QUrl LocalFileUrl(const std::string& nativePath) {
    const QByteArray bytes = QByteArray::fromStdString(nativePath);
    const QString text = QFile::decodeName(bytes);
    if (QFile::encodeName(text) == bytes) return QUrl::fromLocalFile(text);
    return QUrl::fromEncoded(QByteArrayLiteral("file://") + bytes.toPercentEncoding("/"),
                             QUrl::StrictMode);
}

void OpenContainingFolder(const SearchState& state, int32_t record, const UrlOpener& opener,
                          MessagePrompter& prompter) {
    const TFileInfoType* file = SelectedFile(state, record);
    if (!file) return;
    OpenPath(opener, state.DirTable[static_cast<size_t>(file->DirIndex)], prompter);
}

void OpenWithAssociatedProgram(const SearchState& state, int32_t record, const UrlOpener& opener,
                               MessagePrompter& prompter) {
    const TFileInfoType* file = SelectedFile(state, record);
    if (!file) return;
    OpenPath(opener, FullPath(state, *file), prompter);
}

void ShowFileProperties(const SearchState& state, int32_t record, FilePropertiesService& service,
                        const UrlOpener& opener, MessagePrompter& prompter) {
    const TFileInfoType* file = SelectedFile(state, record);
    if (!file) return;
    if (service.ShowItemProperties(LocalFileUrl(FullPath(state, *file)))) return;
    OpenPath(opener, state.DirTable[static_cast<size_t>(file->DirIndex)], prompter);
}

} // namespace pellmora
