// Comment.dll: the Comment add-in's Connect class as an in-process COM server.
#include "comment/connect.h"
#include "framework/file_event_log.h"
#include "win32/addin_server.h"
#include "win32/comment_log.h"
#include "win32/connect_object.h"

namespace {

vb::EventLog* CommentLog() {
  static vb::FileEventLog log(win32::CommentLogPath());
  return &log;
}
}  // namespace

const win32::AddinServer& win32::ThisAddin() {
  // {5B40AEC4-F103-4515-BFC7-2AE394D3E5A6}
  static const AddinServer server{{0x5B40AEC4, 0xF103, 0x4515, {0xBF, 0xC7, 0x2A, 0xE3, 0x94, 0xD3, 0xE5, 0xA6}}, u"Comment.Connect",
                                  &ConnectObject<comment::Connect>::Create, &CommentLog};
  return server;
}
