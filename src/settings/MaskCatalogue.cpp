#include "settings/MaskCatalogue.h"

#include "model/TextFormats.h"
#include "platform/SmallFile.h"
#include "settings/LineListText.h"

#include <QFile>

#include <algorithm>

namespace pellmora {

namespace {

const QString RefusedSymbols = QStringLiteral("\\/:\"<>|");

} // namespace

QString MaskOf(const QString& entry) {
    return TrimBlanks(entry.sliced(entry.lastIndexOf(u'|') + 1));
}

QString DescriptionOf(const QString& entry) {
    const qsizetype bar = entry.lastIndexOf(u'|');
    return bar < 0 ? QString() : TrimBlanks(entry.first(bar));
}

bool HasRefusedSymbol(const QString& mask) {
    return std::any_of(mask.begin(), mask.end(),
                       [](QChar c) { return RefusedSymbols.contains(c); });
}

std::optional<QString> MaskRefusal(const QString& typedMask) {
    if (HasRefusedSymbol(typedMask)) return RefusedSymbolsMessage;
    if (TrimBlanks(typedMask).isEmpty()) return EmptyMaskMessage;
    return std::nullopt;
}

QString BuildMaskEntry(const QString& mask, const QString& description) {
    const QString named = TrimBlanks(QString(description).replace(u'|', u'_'));
    const QString trimmed = TrimBlanks(mask);
    return named.isEmpty() ? trimmed : named + QStringLiteral(" | ") + trimmed;
}

MaskCatalogue::MaskCatalogue() : locale_(QLocale::system()) {
    Add(QStringLiteral("Any Fle | *.*"));
    Add(QStringLiteral("JPEG Images | *.jpg"));
}

QStringList MaskCatalogue::Lines() const {
    QStringList lines;
    for (const MaskEntry& entry : entries_)
        lines.push_back(entry.Text);
    return lines;
}

// After the entries that sort equal, so that equal entries keep the order they came in.
int MaskCatalogue::Add(const QString& text) {
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), text,
                                     [this](const QString& t, const MaskEntry& e) {
                                         return locale_.Collator().compare(t, e.Text) < 0;
                                     });
    const auto inserted = entries_.insert(at, MaskEntry{text, false});
    return static_cast<int>(inserted - entries_.begin());
}

void MaskCatalogue::Replace(int index, const QString& text) {
    if (index >= 0 && index < Count()) entries_[index].Text = text;
}

void MaskCatalogue::Remove(int index) {
    if (index >= 0 && index < Count()) entries_.erase(entries_.begin() + index);
}

void MaskCatalogue::Load(const QStringList& lines) {
    entries_.clear();
    for (const QString& line : lines) {
        const QString mask = MaskOf(line);
        if (mask != CatchAllMask && !HasRefusedSymbol(mask)) Add(line);
    }
    Add(QStringLiteral("Any File | *.*"));
}

void MaskCatalogue::CheckFrom(const QString& fileTypes) {
    for (const QString& piece : (fileTypes + u'|').split(u'|')) {
        if (TrimBlanks(piece).isEmpty()) continue;
        for (MaskEntry& entry : entries_)
            if (MaskOf(entry.Text) == piece) entry.Checked = true;
    }
}

void MaskCatalogue::SetChecked(int index, bool checked) {
    if (index < 0 || index >= Count()) return;
    entries_[index].Checked = checked;
    if (!checked) return;
    const bool catchAll = MaskOf(entries_[index].Text) == CatchAllMask;
    for (int i = 0; i < Count(); ++i) {
        if (i != index && (catchAll || MaskOf(entries_[i].Text) == CatchAllMask))
            entries_[i].Checked = false;
    }
}

QString MaskCatalogue::CheckedMasks() const {
    QStringList masks;
    for (const MaskEntry& entry : entries_) {
        const QString mask = MaskOf(entry.Text);
        if (entry.Checked && !mask.isEmpty()) masks.push_back(mask);
    }
    return masks.join(u'|');
}

std::optional<QStringList> ReadMaskFile(const QString& path) {
    const std::optional<QByteArray> bytes = ReadSmallFile(QFile::encodeName(path).toStdString());
    if (!bytes) return std::nullopt;
    return LinesOfText(*bytes);
}

QString WriteMaskFile(const QString& path, const QStringList& lines) {
    if (ReplaceSmallFile(QFile::encodeName(path).toStdString(), LineListBytes(lines)) == 0)
        return {};
    return QStringLiteral("Cannot create file %1").arg(path);
}

} // namespace pellmora
