// The tag scanner on a stored piece (UTF-8): each tag found is "<@", a name, "@>" as it stands in
// the piece, no two differ only in letter case, and every tag the piece holds before the first
// "<@" left open is among them.
#include "framework/runtime.h"
#include "fuzz_support.h"
#include "piece_store/code_tags.h"
#include "toolkits/scripted/scripted_toolkit.h"

namespace {

using vb::Text;

bool Listed(const std::vector<Text>& tags, const Text& tag) {
  for (const Text& t : tags)
    if (vb::EqualsNoCase(t, tag)) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static scripted::ScriptedToolkit toolkit;  // the scan lets the user interface breathe
  static const vb::RuntimeScope runtime(vb::Runtime{.toolkit = &toolkit});
  const Text piece = vb::FromUtf8(fuzz::Bytes(data, size));
  const std::vector<Text> tags = pellmoss::FindCodeTags(piece);

  for (std::size_t i = 0; i < tags.size(); ++i) {
    const Text& tag = tags[i];
    FUZZ_CHECK(tag.size() >= 4 && tag.starts_with(u"<@") && tag.ends_with(u"@>"));
    FUZZ_CHECK(piece.find(tag) != Text::npos);
    FUZZ_CHECK(pellmoss::TagName(tag) == tag.substr(2, tag.size() - 4));
    for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(!vb::EqualsNoCase(tags[j], tag));
  }
  for (auto open = piece.find(u"<@"); open != Text::npos; open = piece.find(u"<@", open + 1)) {
    const auto close = piece.find(u"@>", open + 2);
    if (close == Text::npos) break;
    FUZZ_CHECK(Listed(tags, piece.substr(open, close + 2 - open)));
  }
  return 0;
}
