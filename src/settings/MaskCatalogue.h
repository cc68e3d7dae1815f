#pragma once
// The catalogue of named masks ("description | mask", or the mask alone) and the choice of
// the active ones, which end up joined by "|" in the window's "Search Files:" field. The
// list stays sorted by the whole entry text without regard to letter case; editing an entry
// leaves it in place until the list is loaded again. Check marks are never stored: they come
// from the field's text at every showing.

#include "model/LocaleContext.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace pellmora {

inline const QString CatchAllMask = QStringLiteral("*.*");
inline const QString RefusedSymbolsMessage =
    QStringLiteral("Please remove following symbols from the mask:\n\r \\ / : \" < > | ");
inline const QString EmptyMaskMessage =
    QStringLiteral("Please add one or more symbols to the mask");
inline const QString NoMaskSelectedMessage = QStringLiteral("Please select at least one file mask");
inline const QString DeleteMaskQuestion =
    QStringLiteral("Please let me remove this ugly mask, Master?");

// The trimmed text after the entry's last "|" (the whole entry without one).
QString MaskOf(const QString& entry);
// The trimmed text before the entry's last "|"; empty without one.
QString DescriptionOf(const QString& entry);
// Backslash, slash, colon, double quote, "<", ">" or "|".
bool HasRefusedSymbol(const QString& mask);

// The entry dialog's check of a mask as typed: the error text, or nothing.
std::optional<QString> MaskRefusal(const QString& typedMask);
// The entry for a mask that passed: "description | mask", with "|" in the description as "_".
QString BuildMaskEntry(const QString& mask, const QString& description);

struct MaskEntry {
    QString Text;
    bool Checked = false;
};

class MaskCatalogue {
  public:
    // The entries before any "masks.ini" exists.
    MaskCatalogue();

    const std::vector<MaskEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    QStringList Lines() const;

    // In its sorted place, unchecked; returns its index.
    int Add(const QString& text);
    void Replace(int index, const QString& text);
    void Remove(int index);

    // The lines of "masks.ini": every "*.*" entry and every refused mask dropped, then the
    // single "Any File | *.*" added; all unchecked.
    void Load(const QStringList& lines);

    // Checks every entry whose mask equals a piece of the "|"-separated text exactly.
    void CheckFrom(const QString& fileTypes);
    // Ticking "*.*" leaves it the only checked entry; ticking another unchecks "*.*".
    void SetChecked(int index, bool checked);
    // The masks of the checked entries in list order joined by "|"; empty masks are left out.
    QString CheckedMasks() const;

  private:
    LocaleContext locale_; // the collation the results sort names by, case ignored
    std::vector<MaskEntry> entries_;
};

// The lines of the file at path; nothing when no readable file stands there.
std::optional<QStringList> ReadMaskFile(const QString& path);
// Replaces the file; returns "Cannot create file %s" on failure, else an empty text.
QString WriteMaskFile(const QString& path, const QStringList& lines);

} // namespace pellmora
