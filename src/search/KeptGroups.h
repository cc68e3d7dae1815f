#pragma once
// Which groups of identical files a search lists when some files are kept: a group whose files
// are all kept leaves nothing to do, and with onlyWithKept a group without a kept file is not
// what was asked for. Without kept files every group is listed.

#include "model/DuplicateTypes.h"

namespace pellmora {

// files[a..b] is one group.
bool GroupIsListed(const TFileList& files, int32_t a, int32_t b, bool onlyWithKept);

} // namespace pellmora
