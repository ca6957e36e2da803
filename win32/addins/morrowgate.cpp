// Morrowgate.dll: the Morrowgate add-in's Connect class as an in-process COM server.
#include "interface_builder/connect.h"
#include "win32/addin_server.h"
#include "win32/connect_object.h"

namespace {
}  // namespace

const win32::AddinServer& win32::ThisAddin() {
  // {64752835-6164-461A-BF4E-B6D1C81F29F2}
  static const AddinServer server{{0x64752835, 0x6164, 0x461A, {0xBF, 0x4E, 0xB6, 0xD1, 0xC8, 0x1F, 0x29, 0xF2}}, u"Morrowgate.Connect",
                                  &ConnectObject<morrowgate::Connect>::Create, nullptr};
  return server;
}
