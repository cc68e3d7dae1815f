#pragma once
// Runs a piece of a test in a forked child that a timer kills, so that a call which hangs fails
// the test instead of blocking the run, and so that the child may give up root for good.

#include <functional>
#include <string>

namespace pellmora::test {

// The child's exit status (body's result, 0..255), or -1 when it was killed by the timer or
// crashed.
int RunBounded(const std::function<int()>& body, unsigned seconds = 10);

// The unprivileged user the permission tests run as (root ignores permission bits).
constexpr unsigned NobodyId = 65534;

// In the child: gives up root for NobodyId; false when that is not possible.
bool DropToNobody();

// Hands path and everything below it to NobodyId; false when not running as root.
bool GiveToNobody(const std::string& path);

} // namespace pellmora::test
