// Pellmoss.dll: the Pellmoss add-in's Connect class as an in-process COM server.
#include "piece_store/connect.h"
#include "win32/addin_server.h"
#include "win32/connect_object.h"

namespace {
}  // namespace

const win32::AddinServer& win32::ThisAddin() {
  // {1734FB7F-303A-4ECF-B4A2-90648BC1C28A}
  static const AddinServer server{{0x1734FB7F, 0x303A, 0x4ECF, {0xB4, 0xA2, 0x90, 0x64, 0x8B, 0xC1, 0xC2, 0x8A}}, u"Pellmoss.Connect",
                                  &ConnectObject<pellmoss::Connect>::Create, nullptr};
  return server;
}
