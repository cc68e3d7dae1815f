#pragma once
// Texts shared by the statistics panel, the selection commands and the report.

#include <QDateTime>
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

// A time in the long time format, without the time zone that Qt adds and the program never
// shows.
QString LongTimeText(const QTime& time, const QLocale& locale);

// A file's DOS date ("Modified" column, report rows): the short date, a blank and the long time,
// the time left out at exactly midnight; empty when the DOS date is not valid.
QString ModifiedText(int32_t fileDate, const QLocale& locale);

// The text without leading and trailing blanks and control characters (U+0000 to U+0020).
QString TrimBlanks(const QString& text);

// The program's messages break their lines with "\n\r"; shown, each is one line break.
QString WithLineBreaks(QString text);

// Milliseconds as hh:mm:ss, hours kept to their last two digits.
QString ElapsedText(uint32_t ms);

// Milliseconds since an arbitrary start, wrapping at 2^32 like the search's StartTick.
uint32_t TickCount();

} // namespace pellmora
