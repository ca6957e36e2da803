// Tallowick.dll: the Tallowick add-in's Connect class as an in-process COM server.
#include "line_counter/connect.h"
#include "win32/addin_server.h"
#include "win32/connect_object.h"

namespace {
}  // namespace

const win32::AddinServer& win32::ThisAddin() {
  // {DAE00BBE-7744-4086-998A-A3679AE0FC5B}
  static const AddinServer server{{0xDAE00BBE, 0x7744, 0x4086, {0x99, 0x8A, 0xA3, 0x67, 0x9A, 0xE0, 0xFC, 0x5B}}, u"Tallowick.Connect",
                                  &ConnectObject<tallowick::Connect>::Create, nullptr};
  return server;
}
