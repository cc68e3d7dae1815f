#pragma once
// What a key typed into a size field ("Min File Size", "Max File Size") puts there: digits,
// backspace, return and one decimal separator; "." and "," both stand for the locale's.

#include <QChar>
#include <QString>

#include <optional>

namespace pellmora {

// The character to let through, or nothing when the key is dropped.
std::optional<QChar> SizeKeyFilter(QChar typed, const QString& fieldText, QChar decimalSeparator);

} // namespace pellmora
