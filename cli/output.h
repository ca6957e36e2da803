// Text for the console: UTF-8, code lines joined by line feeds; JSON strings; the program's
// standard output.
#pragma once

#include <array>
#include <iosfwd>
#include <streambuf>
#include <string>
#include <vector>

#include "framework/vb_text.h"

namespace cli {

// UTF-8 with every CR LF (and lone CR) written as a line feed.
std::string ConsoleText(vb::TextView text);
// Console input (UTF-8, any line ends) as code text: lines joined by CR LF.
vb::Text CodeText(const std::string& input);
// A JSON string literal.
std::string JsonString(vb::TextView text);
std::string JsonString(const std::string& utf8);

// Reads all of a stream.
std::string ReadAll(std::istream& in);

// Writes `text` to `out` and flushes it; UsageError with the system's reason when any of it was
// lost (a full disk).
void WriteOutput(std::ostream& out, const std::string& text);

// The program's standard output: a buffer over a file descriptor that keeps the error number of
// a write that failed, so the command can say why its output was lost.
class FdOutputBuffer : public std::streambuf {
 public:
  explicit FdOutputBuffer(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
  ~FdOutputBuffer() override { sync(); }
  FdOutputBuffer(const FdOutputBuffer&) = delete;
  FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  int fd_;
  int error_ = 0;
  // Not cleared: only what was put is written, and clearing would touch 64 KB of stack for a
  // command that prints one line.
  std::array<char, 1 << 16> buffer_;
};

// The error number of a failed write to `out` when it writes through an FdOutputBuffer, else 0.
int OutputError(const std::ostream& out);

}  // namespace cli
