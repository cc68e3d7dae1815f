#pragma once
// The window's event pump for a search. The search reaches its yield points hundreds of
// thousands of times; dispatching the window's events at each one (poll, X11 writes, repaints)
// would cost more than the search itself. So a yield point dispatches only when a time slice has
// passed since the last dispatch: Stop, the status timer and painting still come within a slice,
// and the yield points stay the only places where events run.

#include <QElapsedTimer>

#include <functional>

namespace pellmora {

class TimeSlicedPump {
  public:
    static constexpr qint64 DefaultSliceMs = 15;

    explicit TimeSlicedPump(std::function<void()> dispatch, qint64 sliceMs = DefaultSliceMs);

    // A yield point: the first call dispatches at once, later ones once a slice has passed.
    void operator()();

  private:
    std::function<void()> dispatch_;
    qint64 sliceMs_;
    QElapsedTimer sinceDispatch_; // monotonic
};

} // namespace pellmora
