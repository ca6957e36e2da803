// The project summary window.
#include "tallowick_fixture.h"

namespace tallowick_test {
namespace {

using memhost::HostBuilder;
using memhost::Lines;

// Every line of the summary ends with its own break.
Text Crlf(std::initializer_list<const char16_t*> lines) {
  Text out;
  for (const char16_t* line : lines) out += Text(line) + u"\r\n";
  return out;
}

TEST_F(TallowickTest, SummaryOfOneComponentWithAMethodAndTwoVariables) {
  Connect(HostBuilder()
              .project(u"Project1")
              .module(u"Module1", Lines({u"Public Total As Long", u"Private mCount As Integer", u"",
                                         u"Public Sub Main()", u"End Sub"}))
              .build());
  EXPECT_EQ(Summary(), Crlf({u"Project Summary for : Project1",
                             u"",
                             u"Summary for Component: Module1",
                             u"Total - Variable",
                             u"mCount - Variable",
                             u"Main - Method",
                             u"",
                             u"Component Counts:",
                             u"Total Constants: 0",
                             u"Total Events: 0",
                             u"Total Methods: 1",
                             u"Total Properties: 0",
                             u"Total Variables: 2",
                             u"",
                             u"Total Counts for Project",
                             u"Total Constants: 0",
                             u"Total Events: 0",
                             u"Total Methods: 1",
                             u"Total Propertys: 0",
                             u"Total Variables: 2"}));
}

TEST_F(TallowickTest, SummaryOfAComponentWithoutMembers) {
  Connect(HostBuilder().project(u"Empty").form(u"Form1", Lines({u"Option Explicit", u"' nothing yet"})).build());
  EXPECT_EQ(Summary(), Crlf({u"Project Summary for : Empty", u"", u"Summary for Component: Form1", u"",
                             u"Component Counts:", u"Total Constants: 0", u"Total Events: 0", u"Total Methods: 0",
                             u"Total Properties: 0", u"Total Variables: 0", u"", u"Total Counts for Project",
                             u"Total Constants: 0", u"Total Events: 0", u"Total Methods: 0", u"Total Propertys: 0",
                             u"Total Variables: 0"}));
}

TEST_F(TallowickTest, SummaryOfSeveralComponentsWithProjectTotals) {
  Connect(HostBuilder()
              .project(u"Other")
              .module(u"NotThis", u"Public X As Long")
              .project(u"Shapes")
              .classModule(u"Class1", Lines({u"Option Explicit", u"Public Event Changed()",
                                             u"Private Const MAX As Long = 10", u"Public Name As String",
                                             u"Private Enum Kind", u"  kOne", u"End Enum",
                                             u"Public Property Get Size() As Long", u"End Property",
                                             u"Public Property Let Size(ByVal v As Long)", u"End Property",
                                             u"Public Sub Grow()", u"End Sub",
                                             u"Private Function Twice(ByVal n As Long) As Long", u"End Function"}))
              .form(u"Form1")
              .component(u"Resources", host::vbext_ct_ResFile, std::nullopt)
              .module(u"Module2", Lines({u"Public Declare Function GetTickCount Lib \"kernel32\" () As Long",
                                         u"Dim a, b As Long", u"Public Const A1 = 1, A2 = 2"}))
              .build());
  vbe->SetActiveProject(u"Shapes");
  EXPECT_EQ(Summary(), Crlf({u"Project Summary for : Shapes",
                             u"",
                             u"Summary for Component: Class1",
                             u"Changed - Event",
                             u"MAX - Constant",
                             u"Name - Variable",
                             u"Size - Property",
                             u"Grow - Method",
                             u"Twice - Method",
                             u"",
                             u"Component Counts:",
                             u"Total Constants: 1",
                             u"Total Events: 1",
                             u"Total Methods: 2",
                             u"Total Properties: 1",
                             u"Total Variables: 1",
                             u"",
                             u"Summary for Component: Form1",
                             u"",
                             u"Component Counts:",
                             u"Total Constants: 0",
                             u"Total Events: 0",
                             u"Total Methods: 0",
                             u"Total Properties: 0",
                             u"Total Variables: 0",
                             u"",
                             u"Summary for Component: Resources",
                             u"",
                             u"Component Counts:",
                             u"Total Constants: 0",
                             u"Total Events: 0",
                             u"Total Methods: 0",
                             u"Total Properties: 0",
                             u"Total Variables: 0",
                             u"",
                             u"Summary for Component: Module2",
                             u"GetTickCount - Method",
                             u"a - Variable",
                             u"b - Variable",
                             u"A1 - Constant",
                             u"A2 - Constant",
                             u"",
                             u"Component Counts:",
                             u"Total Constants: 2",
                             u"Total Events: 0",
                             u"Total Methods: 1",
                             u"Total Properties: 0",
                             u"Total Variables: 2",
                             u"",
                             u"Total Counts for Project",
                             u"Total Constants: 3",
                             u"Total Events: 1",
                             u"Total Methods: 3",
                             u"Total Propertys: 1",
                             u"Total Variables: 3"}));
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(TallowickTest, EachSummaryClickOpensAWindowOfItsOwn) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1", u"Public Sub Main()\r\nEnd Sub").build());
  Text first = Summary();
  auto* window = home.toolkit.OpenForm(u"frmSummary");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->caption(), u"Project Summary");

  // The first window keeps the text it computed when it opened.
  vbe->SetCode(u"Module1", u"Public Sub Other()\r\nEnd Sub");
  vbe->Click(u"Add-Ins", kSummaryEntry);
  EXPECT_EQ(connect.summaryWindowCount(), 2u);
  EXPECT_EQ(dynamic_cast<tallowick::frmSummary&>(*window).txtSummary.text(), first);
  EXPECT_NE(first.find(u"Main - Method"), Text::npos);

  scripted::Click(*window, u"cmdClose");
  EXPECT_FALSE(window->loaded());
  EXPECT_EQ(connect.summaryWindowCount(), 1u);
  auto* second = dynamic_cast<tallowick::frmSummary*>(home.toolkit.OpenForm(u"frmSummary"));
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->txtSummary.text().find(u"Other - Method"), Text::npos);
}

TEST_F(TallowickTest, AFailedSummaryIsReportedAndOpensNoWindow) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1", u"Public Sub Main()\r\nEnd Sub").build());
  vbe->InjectFailure("CodeModule.Members", 1, 50003, u"Members unavailable");
  EXPECT_EQ(Summary(), u"");
  EXPECT_EQ(home.toolkit.messages(),
            (std::vector<scripted::MessageBox>{{u"The following error occurred : Members unavailable",
                                                ui::vbInformation, u"Error Occurred"}}));
  EXPECT_EQ(connect.summaryWindowCount(), 0u);
  // The next click works again.
  EXPECT_NE(Summary(), u"");
}

}  // namespace
}  // namespace tallowick_test
