// Quenby.dll: the Quenby add-in's Connect class as an in-process COM server.
#include "property_generator/connect.h"
#include "win32/addin_server.h"
#include "win32/connect_object.h"

namespace {
}  // namespace

const win32::AddinServer& win32::ThisAddin() {
  // {3426D662-14A9-460D-BC5F-65C4FE7C5DE3}
  static const AddinServer server{{0x3426D662, 0x14A9, 0x460D, {0xBC, 0x5F, 0x65, 0xC4, 0xFE, 0x7C, 0x5D, 0xE3}}, u"Quenby.Connect",
                                  &ConnectObject<quenby::Connect>::Create, nullptr};
  return server;
}
