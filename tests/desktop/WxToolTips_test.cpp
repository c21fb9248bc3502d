// The tooltips of the real window backend, under a virtual display: tools exist from the
// first mode 1 until mode 3, and mode 2 sets their texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/TestFiles.h"

TEST(WxToolTips, ToolsLiveFromModeOneUntilModeThree) {
#ifndef KELVANE_WX_TOOLTIP_PROBE
  GTEST_SKIP() << "the window backend was not built (wxWidgets not found)";
#else
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    if (std::getenv("CI") != nullptr)
      FAIL() << "xvfb-run is not installed";
    GTEST_SKIP() << "xvfb-run is not installed";
  }
  TempFolder folder("wxtips");
  const std::string output = folder.File("out.txt");
  const std::string errors = folder.File("err.txt");
  // Tests run in parallel: each starts its search for a free display at a number of its own.
  const int firstDisplay =
      100 + static_cast<int>(std::hash<std::string>{}(folder.path.string()) % 800);
  const std::string command =
      "LSAN_OPTIONS=suppressions='" + std::string(KELVANE_FIXTURES_DIR) +
      "/../desktop/lsan-desktop.supp':print_suppressions=0 xvfb-run -a -n " +
      std::to_string(firstDisplay) + " -f '" + folder.File("Xauthority") +
      "' -s '-screen 0 1280x1024x24' '" +
      KELVANE_WX_TOOLTIP_PROBE + "' >'" + output + "' 2>'" + errors + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(errors);
  const std::string expected =
      "mode 1 without tooltip control: tools 0; 1015 []; 1078 []; 1349 [template]\n"
      "mode 2 while off: tools 0; 1015 []; 1078 []; 1349 [File(s) to convert]\n"
      "mode 1: tools 17; 1015 []; 1078 []; 1349 [File(s) to convert]\n"
      "mode 2: tools 17; 1015 [Start the conversion]; 1078 [Select the output file extension]; "
      "1349 [File(s) to convert]\n"
      "mode 2 after a change: tools 17; 1015 [changed]; 1078 [Select the output file "
      "extension]; 1349 [File(s) to convert]\n"
      "mode 3: tools 0; 1015 []; 1078 []; 1349 [File(s) to convert]\n"
      "mode 3 again: tools 0; 1015 []; 1078 []; 1349 [File(s) to convert]\n"
      "mode 2 on: tools 17; 1015 [changed]; 1078 [Select the output file extension]; "
      "1349 [File(s) to convert]\n";
  EXPECT_EQ(ReadBytes(output), expected);
#endif
}
