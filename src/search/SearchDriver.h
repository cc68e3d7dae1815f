#pragma once
// One whole search: start checks, reset, walk, sort by size, comparison run by run, publication
// of the result and the end-of-search report, all through the view and the event pump.

#include "model/DuplicateTypes.h"
#include "model/SearchInputs.h"
#include "search/SearchView.h"

namespace pellmora {

void SearchStart(SearchState& state, const SearchInputs& inputs, SearchView& view,
                 const EventPump& pump);

// The comparison phase over ScanList, sorted by size, largest first.
void FindDuplicateGroups(SearchState& state, SearchView& view, const EventPump& pump);

} // namespace pellmora
