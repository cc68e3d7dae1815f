#pragma once
// What a long operation is handed besides its data: the stop request it reads at its checks and
// the pump through which pending window events run at its yield points. The flag is borrowed
// (it belongs to the search state, and a handler run by the pump may raise it); the pump is
// held by value, so a control built from a lambda never outlives it.

#include <cstdint>
#include <functional>
#include <utility>

namespace pellmora {

// Lets pending window events run; an operation calls it only at its yield points.
using EventPump = std::function<void()>;

class OperationControl {
  public:
    // Never asked to stop and nothing to pump: for work that runs outside any window.
    OperationControl() = default;
    explicit OperationControl(EventPump pump) : pump_(std::move(pump)) {}
    OperationControl(const uint8_t& stopFlag, EventPump pump)
        : stopFlag_(&stopFlag), pump_(std::move(pump)) {}

    // The stop flag reads 1: no search runs, or the running one was asked to stop.
    bool StopRequested() const { return stopFlag_ != nullptr && *stopFlag_ == 1; }

    void Yield() const {
        if (pump_) pump_();
    }

  private:
    const uint8_t* stopFlag_ = nullptr;
    EventPump pump_;
};

} // namespace pellmora
