#include "model/TextFormats.h"

#include <QRegularExpression>

#include <chrono>
#include <cstdio>

namespace pellmora {

QString FormatCount(int64_t n, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(static_cast<qlonglong>(n));
}

namespace {

QString Decimals(double value, int decimals, const QLocale& locale) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    QString text = QString::fromLatin1(buffer);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

QDateTime DosDateTime(int32_t fileDate) {
    const auto v = static_cast<uint32_t>(fileDate);
    const QDate date(static_cast<int>(v >> 25) + 1980, (v >> 21) & 15, (v >> 16) & 31);
    const QTime time((v >> 11) & 31, (v >> 5) & 63, (v & 31) * 2);
    return QDateTime(date, time);
}

QString LongTimeFormat(const QLocale& locale) {
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    return locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}

} // namespace

QString LongTimeText(const QTime& time, const QLocale& locale) {
    return time.toString(LongTimeFormat(locale));
}

QString ModifiedText(int32_t fileDate, const QLocale& locale) {
    const QDateTime when = DosDateTime(fileDate);
    if (fileDate == 0 || !when.date().isValid() || !when.time().isValid()) return {};
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() != QTime(0, 0)) text += QLatin1Char(' ') + LongTimeText(when.time(), locale);
    return text;
}

QString SizeText(int64_t n, const QLocale& locale) {
    const auto value = static_cast<double>(n);
    if (n >= 1073741824) return Decimals(value / 1073741824.0, 3, locale) + QStringLiteral(" GB");
    if (n >= 1048576) return Decimals(value / 1048576.0, 2, locale) + QStringLiteral(" MB");
    if (n >= 1024) return Decimals(value / 1024.0, 0, locale) + QStringLiteral(" KB");
    return QString::number(n) + QStringLiteral(" B");
}

QString GroupsAndCopiesText(int64_t groups, int64_t copies, const QLocale& locale) {
    return FormatCount(groups, locale) + QStringLiteral(" + ") + FormatCount(copies, locale);
}

QString DiskUsingText(int64_t originals, int64_t duplicates, const QLocale& locale) {
    return SizeText(originals, locale) + QStringLiteral(" + ") + SizeText(duplicates, locale);
}

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 0x20)
        ++first;
    while (last > first && text[last - 1].unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

QString WithLineBreaks(QString text) {
    return text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
}

QString ElapsedText(uint32_t ms) {
    const uint32_t hours = ms / 3600000u;
    const uint32_t minutes = (ms / 1000u) % 3600u / 60u;
    const uint32_t seconds = (ms / 1000u) % 60u;
    auto two = [](uint32_t v) { return (QStringLiteral("00") + QString::number(v)).right(2); };
    return two(hours) + QLatin1Char(':') + two(minutes) + QLatin1Char(':') + two(seconds);
}

uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace pellmora
