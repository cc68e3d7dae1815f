#pragma once
// One whole search: start checks, reset, walk, sort by size, comparison run by run, publication
// of the result and the end-of-search report, all through the view and the event pump.

#include "model/DuplicateTypes.h"
#include "model/SearchInputs.h"
#include "search/SearchView.h"

namespace pellmora {

// How a search ended: a start check refused it, a stop request ended it early, or an error
// ended it (the groups found before the error are still published).
enum class SearchOutcome { Finished, Refused, Stopped, Failed };

SearchOutcome SearchStart(SearchState& state, const SearchInputs& inputs, SearchView& view,
                          const EventPump& pump);

// The comparison phase over ScanList, sorted by size, largest first.
void FindDuplicateGroups(SearchState& state, SearchView& view, const EventPump& pump);

} // namespace pellmora
