#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>

#include "cli/command.h"

namespace cli {

std::string ConsoleText(vb::TextView text) {
  // Runs of ASCII, nearly all of any text, go a unit to a byte; the rest goes through ToUtf8 a run
  // at a time (a surrogate pair stays in one run).
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= 0x80) ++i;
    if (i > from) out += vb::ToUtf8(text.substr(from, i - from));
    for (; i < text.size() && text[i] < 0x80; ++i) {
      if (text[i] == u'\r') {
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      } else {
        out += static_cast<char>(text[i]);
      }
    }
  }
  return out;
}

vb::Text CodeText(const std::string& input) {
  const vb::Text text = vb::FromUtf8(input);
  vb::Text code;
  code.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      code += vb::kCrLf;
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      code.push_back(text[i]);
    }
  }
  return code;
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

std::string JsonString(vb::TextView text) { return JsonString(vb::ToUtf8(text)); }

std::string ReadAll(std::istream& in) {
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void WriteOutput(std::ostream& out, const std::string& text) {
  errno = 0;
  out << text << std::flush;
  if (out) return;
  const int error = OutputError(out) ? OutputError(out) : errno;
  throw UsageError(std::string("cannot write the output") + (error ? std::string(": ") + std::strerror(error) : ""));
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
  if (sync() != 0) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int FdOutputBuffer::sync() {
  const char* next = pbase();
  while (next < pptr() && error_ == 0) {
    const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
    if (written > 0)
      next += written;
    else if (written < 0 && errno != EINTR)
      error_ = errno;
  }
  // What could not be written is dropped; the error stays for the command to report.
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0 ? 0 : -1;
}

int OutputError(const std::ostream& out) {
  const auto* buffer = dynamic_cast<const FdOutputBuffer*>(out.rdbuf());
  return buffer ? buffer->error() : 0;
}

}  // namespace cli
