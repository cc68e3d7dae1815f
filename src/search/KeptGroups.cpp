#include "search/KeptGroups.h"

namespace pellmora {

bool GroupIsListed(const TFileList& files, int32_t a, int32_t b, bool onlyWithKept) {
    int32_t kept = 0;
    for (int32_t j = a; j <= b; ++j)
        kept += files[static_cast<size_t>(j)].Kept != 0 ? 1 : 0;
    if (kept == b - a + 1) return false;
    return kept > 0 || !onlyWithKept;
}

} // namespace pellmora
