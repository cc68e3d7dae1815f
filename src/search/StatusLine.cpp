#include "search/StatusLine.h"

#include "model/NativeText.h"

namespace pellmora {

QString ScanStatusText(const SearchState& state) {
    return QStringLiteral("Scan \"") + Decoded(state.CurrentDir) + QStringLiteral("\"...  ") +
           QString::number(state.ScanLast + 1) + QStringLiteral(" Files");
}

} // namespace pellmora
