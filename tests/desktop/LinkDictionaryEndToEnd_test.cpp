// A link dictionary made on the configuration sheet and filled in its editor, then used by
// a conversion: the RTF that a real reader opens links the dictionary's phrases.
#include <string>

#include "DesktopFixture.h"
#include "app/MainDialogSheets.h"
#include "pages/EditorTemplates.h"
#include "pages/OptionSheets.h"
#include "support/Kvlcons.h"
#include "support/Soffice.h"

namespace {

class LinkDictionaryEndToEnd : public DesktopTest {
 protected:
  LinkDictionaryEndToEnd() { MakeDialog(); }
};

TEST_F(LinkDictionaryEndToEnd, ADictionaryMadeInTheEditorLinksItsPhrases) {
  REQUIRE_SOFFICE(soffice);
  const std::string dictionary = Dir() + "made-links.inc";
  ShowConfigurationFiles(*dialog, 21);
  HeadlessSheet* sheet = platform.FindSheet(kSheetConfigId);
  ASSERT_NE(sheet, nullptr);

  // The editor adds one definition to the new file and saves it under its own name.
  platform.modalScripts[231] = [&](HeadlessDialog& editor) {
    editor.SetSelection(kLinkEditList, 0);
    editor.Fire(kLinkEditList, DialogEvent::SelectionChange);
    editor.SetText(kLinkEditMatch, "Widget Guide");
    editor.SetText(kLinkEditReplacement, "Widget Guide");
    editor.SetText(kLinkEditUrl, "http://www.example.com/guide");
    editor.Fire(kLinkEditAdd, DialogEvent::Click);
    platform.fileAnswers.push_back({dictionary});
    editor.Fire(kLinkEditSave, DialogEvent::Click);
    return 1;
  };
  platform.fileAnswers.push_back({dictionary});
  sheet->ActivePage()->Fire(1793, DialogEvent::Click);
  const std::string written = ReadBytes(dictionary);
  ASSERT_NE(written.find("Widget Guide"), std::string::npos) << written;
  sheet->Press(kSheetOk);

  const std::string input = WriteText("guide.txt",
                                      "Read the Widget Guide before you start.\n\n"
                                      "Nothing to link here.\n");
  const std::string policy = WriteText("links.pol", "Link Dictionary file: " + dictionary + "\n");
  const RunResult run = RunKvlconsInto({input}, folder.path, policy);
  ASSERT_EQ(run.status, 0) << run.messages;
  const std::string rtf = Dir() + "guide.rtf";
  ASSERT_NE(ReadBytes(rtf).find("HYPERLINK http://www.example.com/guide"), std::string::npos);

  ConvertWithSoffice(soffice, {rtf}, "html", Dir());
  const std::string html = ReadBytes(SofficeOutput(rtf, Dir(), ".html"));
  const std::size_t link = html.find("href=\"http://www.example.com/guide\"");
  ASSERT_NE(link, std::string::npos) << html;
  // The reader may break the phrase across lines inside the link.
  const std::size_t phrase = html.find("Widget", link);
  ASSERT_NE(phrase, std::string::npos) << html;
  EXPECT_LT(phrase, html.find("</a>", link)) << html;
}

}  // namespace
