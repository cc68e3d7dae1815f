#include "search/TextFormats.h"

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

} // namespace

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
