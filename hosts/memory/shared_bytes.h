// Bytes that several objects read and none changes: a file's bytes as read, shared by its module
// and by the code lines kept as spans of them. Their memory is a string of their own or a piece of
// a block that many files share; either way it lives while a copy of them does.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace memhost {

class SharedBytes {
 public:
  SharedBytes() = default;
  explicit SharedBytes(std::string bytes) {
    auto own = std::make_shared<const std::string>(std::move(bytes));
    bytes_ = *own;
    owner_ = std::move(own);
  }
  // `bytes`, which live as long as `owner`.
  SharedBytes(std::shared_ptr<const void> owner, std::string_view bytes) : owner_(std::move(owner)), bytes_(bytes) {}

  // A piece of these bytes (`part` lies within view()) that keeps all of them alive.
  SharedBytes Part(std::string_view part) const { return SharedBytes(owner_, part); }

  std::string_view view() const { return bytes_; }
  const char* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::shared_ptr<const void> owner_;
  std::string_view bytes_;
};

}  // namespace memhost
