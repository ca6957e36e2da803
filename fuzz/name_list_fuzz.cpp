// The stored-list decoding of the piece store (a "||"-separated value, UTF-8 here): the names
// read are not blank, hold no separator and differ in more than letter case; nothing of the value
// is lost (each part between separators that is not blank is read, or an earlier name repeats
// it); and a list written back reads as the same list.
#include "fuzz_support.h"
#include "piece_store/piece_storage.h"

namespace {

using vb::Text;

std::vector<Text> Names(const pellmoss::NameList& list) {
  std::vector<Text> names;
  for (const auto& entry : list) names.push_back(entry.item);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text value = vb::FromUtf8(fuzz::Bytes(data, size));
  const pellmoss::NameList list = pellmoss::ParseNameList(value);
  const std::vector<Text> names = Names(list);
  for (std::size_t i = 0; i < names.size(); ++i) {
    FUZZ_CHECK(!vb::Trim(names[i]).empty());
    FUZZ_CHECK(names[i].find(pellmoss::kListSeparator) == Text::npos);
    for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(!vb::EqualsNoCase(names[j], names[i]));
  }

  const Text separator = pellmoss::kListSeparator;
  for (std::size_t start = 0; start <= value.size();) {
    const auto end = std::min(value.find(separator, start), value.size());
    Text part = value.substr(start, end - start);
    if (end == value.size() && part.ends_with(u'|')) part.pop_back();  // a separator cut short
    FUZZ_CHECK(vb::Trim(part).empty() || list.Contains(part));
    start = end + separator.size();
  }

  FUZZ_CHECK(Names(pellmoss::ParseNameList(pellmoss::EncodeNameList(list))) == names);
  return 0;
}
