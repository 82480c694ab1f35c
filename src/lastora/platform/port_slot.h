// One process-wide port: lazily filled with its default adapter, replaceable by tests and front
// ends. Get hands out shared ownership, so a port that another thread replaces meanwhile lives on
// until its last user lets go of it.
#ifndef LASTORA_PLATFORM_PORT_SLOT_H_
#define LASTORA_PLATFORM_PORT_SLOT_H_

#include <memory>
#include <mutex>

namespace lastora::detail {

template <typename Port, typename Default>
class PortSlot {
 public:
  std::shared_ptr<Port> Get() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!port_) port_ = std::make_shared<Default>();
    return port_;
  }
  std::shared_ptr<Port> Set(std::shared_ptr<Port> port) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::shared_ptr<Port> previous = std::move(port_);
    port_ = std::move(port);
    return previous;
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<Port> port_;
};

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_PORT_SLOT_H_
