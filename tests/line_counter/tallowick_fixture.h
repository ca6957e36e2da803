// A connected line counter over an in-memory IDE, driven through its menu entries.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "hosts/memory/memory_host.h"
#include "line_counter/connect.h"
#include "line_counter/frm_results.h"
#include "line_counter/frm_summary.h"
#include "support/connected.h"

namespace tallowick_test {

using vb::Text;

inline constexpr const char16_t* kCounterEntry = u"&Component Line Counter";
inline constexpr const char16_t* kSummaryEntry = u"&Project Summary";

// What the results dialog showed.
struct CountResult {
  bool shown = false;
  std::vector<std::vector<Text>> rows;
  Text codeTotal, commentTotal, blankTotal;
};

class TallowickTest : public testing_support::AddInTest<tallowick::Connect> {
 protected:
  // Clicks the counter entry; `choose` ticks rows in frmAddIn, then OK is clicked.
  CountResult Count(std::function<void(tallowick::frmAddIn&)> choose) {
    CountResult result;
    home.toolkit.Once(u"frmAddIn", [choose](ui::Form& form) {
      choose(dynamic_cast<tallowick::frmAddIn&>(form));
      scripted::Click(form, u"OKButton");
    });
    home.toolkit.Once(u"frmResults", [&result](ui::Form& form) {
      auto& results = dynamic_cast<tallowick::frmResults&>(form);
      result.shown = true;
      for (int i = 1; i <= results.lvResults.itemCount(); ++i) result.rows.push_back(results.lvResults.Row(i));
      result.codeTotal = results.lblCodeLine.caption();
      result.commentTotal = results.lblCommentLines.caption();
      result.blankTotal = results.lblWhiteSpace.caption();
      scripted::Click(form, u"cmdOk");
    });
    vbe->Click(u"Add-Ins", kCounterEntry);
    return result;
  }

  static void Tick(tallowick::frmAddIn& form, const Text& name) {
    int row = form.lstComponents.FindRow(name);
    ASSERT_GE(row, 0) << vb::ToUtf8(name);
    form.lstComponents.TickRow(row);
  }

  // Clicks the summary entry and returns the text of the window it opened (empty if none).
  Text Summary() {
    vbe->Click(u"Add-Ins", kSummaryEntry);
    auto* window = dynamic_cast<tallowick::frmSummary*>(home.toolkit.OpenForm(u"frmSummary"));
    return window ? window->txtSummary.text() : Text();
  }
};

inline std::vector<Text> Row(const char16_t* name, int code, int comment, int blank) {
  return {name, vb::ToText(code), vb::ToText(comment), vb::ToText(blank)};
}

}  // namespace tallowick_test
