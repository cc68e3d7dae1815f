#include "settings/SizeKeyFilter.h"

namespace pellmora {

std::optional<QChar> SizeKeyFilter(QChar typed, const QString& fieldText, QChar decimalSeparator) {
    if (typed == u',' || typed == u'.') typed = decimalSeparator;
    if (typed == decimalSeparator) {
        if (fieldText.contains(decimalSeparator)) return std::nullopt;
        return typed;
    }
    const bool passes = (typed >= u'0' && typed <= u'9') || typed == QChar(8) || typed == QChar(13);
    return passes ? std::optional<QChar>(typed) : std::nullopt;
}

} // namespace pellmora
