// One add-in connected to the in-memory IDE for the length of a command, as the IDE connects it
// after start-up, and disconnected at the end whatever happens.
#pragma once

#include <memory>
#include <string>

#include "framework/connect.h"
#include "hosts/memory/memory_host.h"

namespace cli {

template <class ConnectT>
class Connected {
 public:
  explicit Connected(std::shared_ptr<memhost::MemoryVBE> vbe) : vbe_(std::move(vbe)) {
    connect.OnConnection(vbe_, addin::ext_cm_AfterStartup);
  }
  ~Connected() {
    try {
      connect.OnDisconnection(1);
    } catch (...) {
      // Disconnection ignores its own failures; nothing more to do here.
    }
  }
  Connected(const Connected&) = delete;
  Connected& operator=(const Connected&) = delete;

  memhost::MemoryVBE& vbe() { return *vbe_; }

  ConnectT connect;

 private:
  std::shared_ptr<memhost::MemoryVBE> vbe_;
};

// An IDE with one empty project, for the commands that work on the settings alone.
std::shared_ptr<memhost::MemoryVBE> EmptyIde();

}  // namespace cli
