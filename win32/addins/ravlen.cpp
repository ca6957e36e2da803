// Ravlen.dll: the Ravlen add-in's Connect class as an in-process COM server.
#include "control_editor/connect.h"
#include "win32/addin_server.h"
#include "win32/connect_object.h"

namespace {
}  // namespace

const win32::AddinServer& win32::ThisAddin() {
  // {4458E805-6304-434C-8AD4-30AF04A81DE5}
  static const AddinServer server{{0x4458E805, 0x6304, 0x434C, {0x8A, 0xD4, 0x30, 0xAF, 0x04, 0xA8, 0x1D, 0xE5}}, u"Ravlen.Connect",
                                  &ConnectObject<ravlen::Connect>::Create, nullptr};
  return server;
}
