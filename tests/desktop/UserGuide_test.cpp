#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "DesktopFixture.h"
#include "lang/InterfaceTexts.h"
#include "pages/BaseSheet.h"
#include "pages/OptionSheets.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

std::string Guide() { return ReadBytes(KELVANE_USER_GUIDE); }

// The elements the guide must close, each in the order it was opened.
const std::set<std::string, std::less<>> kClosedElements = {
    "html", "head", "title", "style", "body", "nav", "h1", "h2",     "h3", "p",
    "ul",   "li",   "dl",    "dt",    "dd",   "pre", "a", "strong", "code"};

// Walks the tags: every element of kClosedElements is closed, innermost first. Returns the
// first fault, empty when there is none.
std::string FirstNestingFault(const std::string& html) {
  std::vector<std::string> open;
  std::size_t at = 0;
  while ((at = html.find('<', at)) != std::string::npos) {
    const std::size_t end = html.find('>', at);
    if (end == std::string::npos)
      return "a tag is not ended at offset " + std::to_string(at);
    std::string_view tag(html.data() + at + 1, end - at - 1);
    at = end + 1;
    const bool closing = !tag.empty() && tag.front() == '/';
    if (closing)
      tag.remove_prefix(1);
    const std::string name(tag.substr(0, tag.find_first_of(" \t\n")));
    if (kClosedElements.find(name) == kClosedElements.end())
      continue;
    if (!closing) {
      open.push_back(name);
      continue;
    }
    if (open.empty() || open.back() != name)
      return "</" + name + "> closes " + (open.empty() ? "nothing" : "<" + open.back() + ">");
    open.pop_back();
  }
  if (!open.empty())
    return "<" + open.back() + "> is never closed";
  return {};
}

bool IsUtf8(const std::string& bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const int follow = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1
                       : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
    if (follow < 0 || i + follow >= bytes.size())
      return false;
    for (int k = 1; k <= follow; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
        return false;
    }
    i += follow + 1;
  }
  return true;
}

// The values of every attr="..." in the page.
std::vector<std::string> AttributeValues(const std::string& html, const std::string& attr) {
  std::vector<std::string> values;
  const std::string key = " " + attr + "=\"";
  for (std::size_t at = html.find(key); at != std::string::npos; at = html.find(key, at)) {
    at += key.size();
    values.push_back(html.substr(at, html.find('"', at) - at));
  }
  return values;
}

}  // namespace

// ---- The page ----

TEST(UserGuide, IsAClosedUtf8PageWithoutOutsideResources) {
  const std::string html = Guide();
  ASSERT_FALSE(html.empty()) << KELVANE_USER_GUIDE;
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_TRUE(IsUtf8(html));
  EXPECT_EQ(FirstNestingFault(html), "");
  // Nothing is fetched: no images, scripts or style sheets of their own, and every link
  // points into the page itself, at an id it has.
  for (const char* fetching : {"<img", "<script", "<link", "<iframe", " src=", "url("})
    EXPECT_EQ(html.find(fetching), std::string::npos) << fetching;
  const std::vector<std::string> ids = AttributeValues(html, "id");
  for (const std::string& href : AttributeValues(html, "href")) {
    SCOPED_TRACE(href);
    ASSERT_FALSE(href.empty());
    EXPECT_EQ(href.front(), '#');
    EXPECT_NE(std::find(ids.begin(), ids.end(), href.substr(1)), ids.end());
  }
}

TEST(UserGuide, TheNestingCheckFindsEachFault) {
  struct Case {
    const char* html;
    const char* fault;
  };
  const Case cases[] = {
      {"<p>a <code>b</code> c</p><br><meta charset=\"utf-8\">", ""},
      {"<ul><li>a</ul>", "</ul> closes <li>"},
      {"<dl><dt>a</dt>", "<dl> is never closed"},
      {"</p>", "</p> closes nothing"},
      {"<p>a <b", "a tag is not ended at offset 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(FirstNestingFault(c.html), c.fault);
  }
}

TEST(UserGuide, NamesEverySheetAndPageAsTheProgramShowsThem) {
  SelectInterfaceLanguage(kLanguageEnglish);
  const std::string html = Guide();
  const SheetDefinition* sheets[] = {&AnalysisSheetDefinition(), &OutputSheetDefinition(),
                                     &ConfigSheetDefinition(), &SettingsSheetDefinition()};
  for (const SheetDefinition* sheet : sheets) {
    const std::string caption = GetDialogText(sheet->captionTextId);
    SCOPED_TRACE(caption);
    EXPECT_NE(html.find("<h3>" + caption + "</h3>"), std::string::npos);
    for (const PageDefinition* page : sheet->tabs) {
      const std::string tab = GetDialogText(page->tabTextId);
      EXPECT_NE(html.find("<dt>" + tab + "</dt>"), std::string::npos) << tab;
    }
  }
}

// ---- Finding it ----

class UserGuidePath : public DesktopTest {};

TEST_F(UserGuidePath, BesideTheBuiltProgram) {
  OxvDialog& main = MakeDialog();
  platform.moduleFileName = std::string(KELVANE_BINARY_DIR) + "/kelvane";
  std::string path;
  ASSERT_EQ(main.GetLocalHelpPath(path), 1);
  EXPECT_EQ(path, std::string(KELVANE_BINARY_DIR) + "/kelvane.html");
  EXPECT_TRUE(fs::is_regular_file(path));
  EXPECT_EQ(ReadBytes(path), Guide());
}

TEST_F(UserGuidePath, InTheInstalledDataFolderElseBesideTheProgram) {
  OxvDialog& main = MakeDialog();
  platform.moduleFileName = Dir() + "bin/kelvane";
  const std::string beside = Dir() + "bin/kelvane.html";
  std::string path;
  // Neither: the name beside the program.
  ASSERT_EQ(main.GetLocalHelpPath(path), 1);
  EXPECT_EQ(path, beside);

  const std::string installed = WriteText("share/kelvane/kelvane.html", "<!DOCTYPE html>");
  ASSERT_EQ(main.GetLocalHelpPath(path), 1);
  EXPECT_EQ(path, installed);

  // A guide beside the program comes first.
  WriteText("bin/kelvane.html", "<!DOCTYPE html>");
  ASSERT_EQ(main.GetLocalHelpPath(path), 1);
  EXPECT_EQ(path, beside);

  // A program in the root folder has no data folder above it.
  platform.moduleFileName = "/kelvane";
  ASSERT_EQ(main.GetLocalHelpPath(path), 1);
  EXPECT_EQ(path, "/kelvane.html");
}
