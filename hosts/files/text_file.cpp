// Lines with their own line ends, code pages, atomic replacement and case-tolerant project paths.
#include "hosts/files/text_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "hosts/files/file_error.h"

#if defined(__unix__) || defined(__APPLE__)
#define VB6KIT_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace files {

bool IsSupportedCodePage(int codePage) { return codePage == 1252 || codePage == 28591 || codePage == 65001; }

Text Decode(std::string_view bytes, int codePage) {
  switch (codePage) {
    case 65001:
      return vb::FromUtf8(bytes);
    case 28591: {
      Text text;
      text.reserve(bytes.size());
      for (unsigned char c : bytes) text += static_cast<char16_t>(c);
      return text;
    }
    default:
      return vb::FromCp1252(bytes);
  }
}

std::string Encode(TextView text, int codePage) {
  switch (codePage) {
    case 65001:
      return vb::ToUtf8(text);
    case 28591: {
      std::string bytes;
      bytes.reserve(text.size());
      for (char16_t c : text) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
      return bytes;
    }
    default:
      return vb::ToCp1252(text);
  }
}

bool Encodable(TextView text, int codePage) { return Decode(Encode(text, codePage), codePage) == text; }

TextFile SplitFile(std::string_view bytes, int codePage) {
  TextFile file;
  if (codePage == 65001 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    file.bom = std::string(bytes.substr(0, 3));
    bytes.remove_prefix(3);
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    Line line;
    if (end == std::string_view::npos) {
      line.text = Decode(bytes.substr(start), codePage);
      start = bytes.size();
    } else {
      std::size_t breakLength = (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
      line.text = Decode(bytes.substr(start, end - start), codePage);
      line.eol = std::string(bytes.substr(end, breakLength));
      start = end + breakLength;
    }
    if (file.newline.empty() && !line.eol.empty()) file.newline = line.eol;
    file.lines.push_back(std::move(line));
  }
  if (file.newline.empty()) file.newline = "\r\n";
  return file;
}

std::string JoinFile(const TextFile& file, int codePage) {
  std::string bytes = file.bom;
  for (const Line& line : file.lines) {
    bytes += Encode(line.text, codePage);
    bytes += line.eol;
  }
  return bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) throw LoadError(path, "file not found");
  if (fs::is_directory(path, ec)) throw LoadError(path, "is a folder, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LoadError(path, "cannot be opened for reading");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw LoadError(path, "cannot be read");
  return std::move(buffer).str();
}

namespace {

fs::path TemporaryNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::ostringstream name;
  name << '.' << target.filename().string() << ".vb6kit-" << std::hex << (stamp & 0xFFFFFFu) << '-' << counter++
       << ".tmp";
  return target.parent_path() / name.str();
}

std::string SystemMessage(int error) { return std::error_code(error, std::generic_category()).message(); }

#ifdef VB6KIT_POSIX_FILES
// Creates the temporary file (never an existing one), writes all bytes and flushes them to disk.
void WriteTemporary(const fs::path& temporary, const fs::path& target, const std::string& bytes) {
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) throw SaveError(target, "cannot create a temporary file in its folder: " + SystemMessage(errno));
  std::size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      throw SaveError(target, "cannot write the temporary file: " + SystemMessage(error));
    }
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) {
    int error = errno;
    ::close(fd);
    throw SaveError(target, "cannot flush the temporary file to disk: " + SystemMessage(error));
  }
  if (::close(fd) != 0) throw SaveError(target, "cannot close the temporary file: " + SystemMessage(errno));
}

// The rename itself is made durable by flushing the folder.
void FlushFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#else
void WriteTemporary(const fs::path& temporary, const fs::path& target, const std::string& bytes) {
  if (fs::exists(temporary)) throw SaveError(target, "a temporary file of that name already exists");
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) throw SaveError(target, "cannot create a temporary file in its folder");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) throw SaveError(target, "cannot write the temporary file");
  out.close();
  if (!out) throw SaveError(target, "cannot close the temporary file");
}
void FlushFolder(const fs::path&) {}
#endif

}  // namespace

void WriteAtomically(const fs::path& target, const std::string& bytes, const WriteHook& hook) {
  const fs::path temporary = TemporaryNameFor(target);
  try {
    WriteTemporary(temporary, target, bytes);
    std::error_code ec;
    auto status = fs::status(target, ec);
    if (!ec && fs::exists(status)) fs::permissions(temporary, status.permissions(), ec);
    if (hook) hook(temporary, target);
    fs::rename(temporary, target, ec);
    if (ec) throw SaveError(target, "cannot replace the file: " + ec.message());
  } catch (...) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw;
  }
  FlushFolder(target.parent_path());
}

fs::path ResolveProjectPath(const fs::path& base, TextView written) {
  std::string path = vb::ToUtf8(written);
  for (char& c : path)
    if (c == '\\') c = '/';
  fs::path relative(path);
  fs::path direct = relative.is_absolute() ? relative : base / relative;
  std::error_code ec;
  if (fs::exists(direct, ec) || relative.is_absolute()) return direct;
  // Walk the parts, taking at each step the entry whose name matches without regard to case.
  fs::path found = base;
  for (const fs::path& part : relative) {
    const std::string name = part.string();
    if (name == "." || name == ".." || fs::exists(found / part, ec)) {
      found /= part;
      continue;
    }
    bool matched = false;
    for (const auto& entry : fs::directory_iterator(found, ec)) {
      if (vb::EqualsNoCase(vb::FromUtf8(entry.path().filename().string()), vb::FromUtf8(name))) {
        found = entry.path();
        matched = true;
        break;
      }
    }
    if (!matched) return direct;
  }
  return found;
}

}  // namespace files
