#pragma once
// One whole search: start checks, reset, walk, sort by size, comparison run by run, publication
// of the result and the end-of-search report, all through the view and the event pump.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"
#include "model/SearchInputs.h"
#include "search/SearchView.h"

namespace pellmora {

// How a search ended: a start check refused it, a stop request ended it early, or an error
// ended it (the groups found before the error are still published).
enum class SearchOutcome { Finished, Refused, Stopped, Failed };

// Every phase reads the state's StopFlag and yields through pump: the two are its control.
SearchOutcome SearchStart(SearchState& state, const SearchInputs& inputs, SearchView& view,
                          const EventPump& pump);

// What may happen while SearchStart is on the call stack: its lists stay in use until it
// returns, even after a stop request, so these rules ask SearchRunning as well as StopFlag.
// A click on the start button starts a search; otherwise it only asks the running one to stop.
bool StartStartsSearch(const SearchState& state);
// A column header click sorts the list anew (it always moves the sort mark).
bool ListCanBeSorted(const SearchState& state);
// The resolved files can be removed from the list.
bool ResolvedCanBeRemoved(const SearchState& state);

// The comparison phase over ScanList, sorted by size, largest first.
void FindDuplicateGroups(SearchState& state, SearchView& view, const OperationControl& control);

} // namespace pellmora
