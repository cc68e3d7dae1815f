#include "ui/TimeSlicedPump.h"

namespace pellmora {

TimeSlicedPump::TimeSlicedPump(std::function<void()> dispatch, qint64 sliceMs)
    : dispatch_(std::move(dispatch)), sliceMs_(sliceMs) {}

void TimeSlicedPump::operator()() {
    if (sinceDispatch_.isValid() && sinceDispatch_.elapsed() < sliceMs_) return;
    dispatch_();
    // Timed from the end of the dispatch: after a slow one (a modal box, a long repaint) the
    // search gets its whole slice before the next.
    sinceDispatch_.start();
}

} // namespace pellmora
