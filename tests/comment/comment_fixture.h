// A memory IDE with the comment add-in connected to it, and the runtime of TestHome around it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "comment/connect.h"
#include "hosts/memory/memory_host.h"
#include "support/connected.h"

namespace comment_test {

using memhost::HostBuilder;
using memhost::Lines;
using vb::Text;

inline constexpr char16_t kBar[] = u"Code Window";
inline constexpr char16_t kCommentOut[] = u"Comment Out Selected Area";
inline constexpr char16_t kUncomment[] = u"Un-Comment Selected Area";
inline constexpr char16_t kHeader[] = u"Add Function Comment Header";
inline constexpr char16_t kRevision[] = u"Add Revision to Comment";
inline constexpr char16_t kGoto[] = u"&Goto Code Member";

// The log line as the add-in writes it: the fixed clock's stamp, a blank, the sentence.
inline Text Logged(const Text& sentence) { return u"12/07/2026 09:30:15 " + sentence; }

using Connected = testing_support::Connected<comment::Connect>;

}  // namespace comment_test
