// A conversion after the user changed output options on the output sheet's pages: the RTF it
// writes shows the paper size, the margins and the body font when a real reader opens it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "pages/OptionSheets.h"
#include "support/Soffice.h"

namespace fs = std::filesystem;

namespace {

// The number in centimetres of an attribute of the document's page layout ("14.801cm"); -1
// when it is missing or in another unit.
double CentimetresOf(const std::string& document, const std::string& attribute) {
  const std::size_t layout = document.find("<style:page-layout-properties");
  if (layout == std::string::npos)
    return -1;
  const std::size_t at = document.find(attribute + "=\"", layout);
  if (at == std::string::npos)
    return -1;
  const char* number = document.c_str() + at + attribute.size() + 2;
  char* end = nullptr;
  const double value = std::strtod(number, &end);
  if (std::string(end, 2) == "cm")
    return value;
  if (std::string(end, 2) == "in")
    return value * 2.54;
  return -1;
}

using OutputPagesLibreOffice = DesktopTest;

TEST_F(OutputPagesLibreOffice, PaperMarginsAndFontChosenOnThePagesReachTheDocument) {
  REQUIRE_SOFFICE(soffice);
  const std::string input = WriteText("options.txt", kSampleText);
  OxvDialog& main = MakeDialog();

  ShowOutputPolicies(main, 30);  // RTF settings
  HeadlessSheet* sheet = platform.FindSheet(kSheetOutputId);
  ASSERT_NE(sheet, nullptr);
  HeadlessDialog* page = sheet->ActivePage();
  page->SetSelection(1485, 4);  // "A5"
  page->Fire(1485, DialogEvent::SelectionChange);
  page->SetText(1475, "4");
  page->Fire(1475, DialogEvent::EditChange);
  page->SetText(1477, "1.5");
  page->Fire(1477, DialogEvent::EditChange);
  ASSERT_TRUE(sheet->ClickTab(2));  // Fonts
  platform.fontAnswers.push_back({"Courier New", 400, false, 140});
  sheet->ActivePage()->Fire(1263, DialogEvent::Click);
  sheet->Press(kSheetOk);

  main.SetInputFile(input);
  ASSERT_EQ(main.RunConversion(), 1);
  const std::string rtf = folder.File("options.rtf");
  ASSERT_TRUE(fs::exists(rtf));

  ConvertWithSoffice(soffice, {rtf}, "fodt", folder.path.string());
  const std::string opened = SofficeOutput(rtf, folder.path.string(), ".fodt");
  ASSERT_TRUE(fs::exists(opened)) << "LibreOffice could not open " << rtf;
  const std::string document = ReadBytes(opened);
  EXPECT_NEAR(CentimetresOf(document, "fo:page-width"), 14.8, 0.05);
  EXPECT_NEAR(CentimetresOf(document, "fo:page-height"), 21.0, 0.05);
  EXPECT_NEAR(CentimetresOf(document, "fo:margin-top"), 4.0, 0.05);
  EXPECT_NEAR(CentimetresOf(document, "fo:margin-left"), 1.5, 0.05);
  EXPECT_NE(document.find("Courier New"), std::string::npos) << "the body font is missing";
}

}  // namespace
