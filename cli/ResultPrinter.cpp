#include "ResultPrinter.h"

#include "model/NativeText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pellmora::cli {

namespace {

void WritePath(const SearchState& state, const TFileInfoType& file, std::FILE* out) {
    const std::string& dir = state.DirTable[static_cast<size_t>(file.DirIndex)];
    std::fwrite(dir.data(), 1, dir.size(), out);
    std::fwrite(file.FileName.data(), 1, file.FileName.size(), out);
}

void PrintText(const SearchState& state, std::FILE* out) {
    int32_t group = 0;
    for (const TFileInfoType& file : state.ResultList) {
        if (group != 0 && file.Group != group) std::fputc('\n', out);
        group = file.Group;
        WritePath(state, file, out);
        std::fputc('\n', out);
    }
}

void PrintTsv(const SearchState& state, std::FILE* out) {
    for (const TFileInfoType& file : state.ResultList) {
        std::fprintf(out, "%d\t%lld\t", file.Group, static_cast<long long>(file.Size));
        WritePath(state, file, out);
        std::fputc('\n', out);
    }
}

void PrintJson(const SearchState& state, std::FILE* out, bool withKept) {
    QJsonArray groups;
    QJsonArray files;
    QJsonArray kept;
    for (size_t k = 0; k < state.ResultList.size(); ++k) {
        const TFileInfoType& file = state.ResultList[k];
        files.append(Decoded(FullPath(state, file)));
        if (file.Kept) kept.append(Decoded(FullPath(state, file)));
        const bool lastOfGroup =
            k + 1 == state.ResultList.size() || state.ResultList[k + 1].Group != file.Group;
        if (!lastOfGroup) continue;
        QJsonObject group{{QStringLiteral("group"), file.Group},
                          {QStringLiteral("size"), static_cast<qint64>(file.Size)},
                          {QStringLiteral("files"), files}};
        if (withKept) group.insert(QStringLiteral("kept"), kept);
        groups.append(group);
        files = QJsonArray();
        kept = QJsonArray();
    }
    const QByteArray json = QJsonDocument(groups).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), out);
}

} // namespace

void PrintResults(const SearchState& state, OutputFormat format, std::FILE* out, bool withKept) {
    switch (format) {
    case OutputFormat::Text:
        PrintText(state, out);
        break;
    case OutputFormat::Tsv:
        PrintTsv(state, out);
        break;
    case OutputFormat::Json:
        PrintJson(state, out, withKept);
        break;
    }
    std::fflush(out);
}

} // namespace pellmora::cli
