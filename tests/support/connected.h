// An add-in connected to an in-memory IDE as the IDE connects it when it loads the add-in, and
// disconnected at the end as when the IDE closes, unless the test disconnected it already.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "framework/connect.h"
#include "hosts/memory/memory_host.h"
#include "support/test_home.h"

namespace testing_support {

template <class AddIn>
struct Connected {
  Connected() = default;
  explicit Connected(std::shared_ptr<memhost::MemoryVBE> ide, int mode = addin::ext_cm_AfterStartup) {
    Connect(std::move(ide), mode);
  }
  ~Connected() { Disconnect(1); }
  Connected(const Connected&) = delete;
  Connected& operator=(const Connected&) = delete;

  void Connect(std::shared_ptr<memhost::MemoryVBE> ide, int mode = addin::ext_cm_AfterStartup) {
    vbe = std::move(ide);
    connect.OnConnection(vbe, mode);
    connected_ = true;
  }
  void Disconnect(int removeMode) {
    if (!connected_) return;
    connected_ = false;
    connect.OnDisconnection(removeMode);
  }

  std::shared_ptr<memhost::MemoryVBE> vbe;
  AddIn connect;

 private:
  bool connected_ = false;
};

// A test of one add-in: the test home around it, and the add-in connected to the IDE the test
// builds (`Connect(HostBuilder()...build())`).
template <class AddIn>
class AddInTest : public ::testing::Test {
 protected:
  void Connect(std::shared_ptr<memhost::MemoryVBE> ide, int mode = addin::ext_cm_AfterStartup) {
    addIn_.Connect(std::move(ide), mode);
  }
  void Disconnect(int removeMode) { addIn_.Disconnect(removeMode); }

  TestHome home;

 private:
  Connected<AddIn> addIn_;

 protected:
  std::shared_ptr<memhost::MemoryVBE>& vbe = addIn_.vbe;
  AddIn& connect = addIn_.connect;
};

}  // namespace testing_support
