#pragma once
// Texts shared by the statistics panel, the selection commands and the report.

#include <QLocale>
#include <QString>
#include <cstdint>

namespace pellmora {

// A count with the pattern "#,##0": thousands always grouped, no decimals.
QString FormatCount(int64_t n, const QLocale& locale);

// A byte count as " GB" with 3 decimals, " MB" with 2, " KB" with none, or plain " B".
QString SizeText(int64_t n, const QLocale& locale);

// The statistics panel's "groups + further copies" and "originals + duplicates" sizes.
QString GroupsAndCopiesText(int64_t groups, int64_t copies, const QLocale& locale);
QString DiskUsingText(int64_t originals, int64_t duplicates, const QLocale& locale);

// The text without leading and trailing blanks and control characters (U+0000 to U+0020).
QString TrimBlanks(const QString& text);

// Milliseconds as hh:mm:ss, hours kept to their last two digits.
QString ElapsedText(uint32_t ms);

// Milliseconds since an arbitrary start, wrapping at 2^32 like the search's StartTick.
uint32_t TickCount();

} // namespace pellmora
