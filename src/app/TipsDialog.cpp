#include "app/TipsDialog.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "app/BaseDialog.h"
#include "app/DialogTemplates.h"
#include "lang/DialogTexts.h"
#include "platform/DesktopPlatform.h"
#include "text/TextMeasure.h"
#include "text/TextString.h"

// Tip 7 names the product's support forum on the maker's web site.
static constexpr std::string_view kTips[] = {
    "You can view these tips (or switch them on and off) via the Settings menu",
    "Your options can be saved in 'Policy file' that can be reloaded each time.  This "
    "allows you to define standard conversion types for quick and easy re-use.",
    "You can set a default policy file to be loaded automatically each time.  Select "
    "'Settings -> Use of Policy files' from the menu and set the 'Use a default' option",
    "You can get context-sensitive help at any time by pressing F1",
    "You can convert multiple files at one time by typing in a wildcard.  You can also "
    "convert files in sub-folders by checking the 'Search sub-folders' option on the "
    "main screen",
    "You can select which program is used to view your results files by selecting "
    "options from the 'Settings -> Viewers for results files' menu option.  If you can "
    "use DDE, this will update the file in any existing copy of the program, rather than "
    "launching a new copy each time",
    "An online support forum is available at https://www.kelvane.example/forum/ where "
    "you can find additional tips and articles",
    "You can control which messages are displayed during conversion.  On the 'Settings "
    "-> Diagnostics' menu option you can filter messages by type, and raise and lower "
    "the severity of messages that are displayed.",
    "The messages displayed in the Status Dialog during conversion can be saved to a "
    "file by using the 'Save to File' button on that Dialog",
    "Policy files are plain text files.  You can view them in a text editor, and even "
    "edit them provided you keep to the rule of one policy option per line, and use the "
    "correct policy names.  Any errors in the file will be signaled in the Status Dialog "
    "when you load the file.",
    "When converting muliple files you can choose to have the output files placed in the "
    "same folders as the source files.  Alternatively you can direct output to a single "
    "directory, or re-create the input folder structure below a selected output folder.  "
    "See the 'Output Directory' section of the main screen",
    "Analysis policies determine how a file is analyzed.  Many of these are changed "
    "automatically once the source text has been analysed.  So reviewing these *after* a "
    "conversion will give you some idea of how the software thinks your source file is "
    "structured",
    "If you find typographical features such as headings and tables are being merged "
    "with surrounding text, try adding a few blank lines to separate them",
    "The software assumes a tab-size of 8 spaces.  This can affect how the layout of "
    "some tables is calculated.  If this is the wrong tab-size you can change it under "
    "the 'Conversion Options -> Analysis policies -> General Layout' menu option.  The "
    "commonest alternative size is 4",
    "If you find lines with numbers being turned into headings, check if numbered "
    "headings are being detected.  If they are - and shouldn't be, switch this option "
    "off.  If your file does have numbered headings, and the line in question is a "
    "numbered list item, try indenting the list relative to the headings.",
    "Output policies control aspects of the output formatting.  Most of these need to be "
    "manually adjusted to indicate your preferences.",
    "If you know your file doesn't have a certain feature (e.g. *bold* and _italic_ "
    "text), then you can switch it off under Analysis policies to avoid errors in the "
    "analysis.  The 'Look For' policies offer a broad brush approach for this purpose",
    "If your tables aren't being detected correctly, consider marking them up with "
    "BEGIN_TABLE and END_TABLE pre-processor tags.  See the 'Tag Manual' for more details",
    "If the layout of your tables isn't being detected correctly, consider adding a "
    "LAYOUT pre-processor tag, or using the 'Table Definitions File' feature to specify "
    "the column structure of your different table types",
    "Your conversion will fail if the RTF file you want to create is already open in "
    "Word.  This is because Word takes a lock on the file, preventing it being "
    "overwritten.  You may want to disable the option to view results each time after "
    "conversion for this reason",
    "The software can generate RTF suitable for use in making WinHelp files.  In fact "
    "the Help file for this program was itself made this way.  To view the help file at "
    "any time press F1 for context sensitive help",
    "Kelvane and Doralith share the same text analysis engine.  This means that text "
    "files that convert with one program can be converted using the other, with the same "
    "policy files and pre-processor tags.",
    "For advanced users the 'Table Definition File' feature allows formatted text that "
    "is detected to be matched against table types that you define.  Once a match is "
    "made, you can specify the layout, and some of the output formatting applied to the "
    "table",
    "You can tell the software to treat your file as a table, or a tab-delimited data "
    "file just by selecting the corresponding 'Input File Types' from the drop-down "
    "selection on the main screen",
    "For more control over fonts, use the 'Style Definition File' feature.  This allows "
    "you to defined named font styles in an external file, and then reference these by "
    "adding tags to your source text",
    "Kelvane marks up all the text using a Word style sheet.  In Word you can see these "
    "styles, and they give you some clue as to why each section of text is formatted as "
    "it is.  For example the Diagram style is marked up in a non-proportional font.",
    "Because Kelvane marks up all headings using the Word 'Heading n' styles, if you "
    "insert a table of contents field into the document, it will correctly pick up all "
    "the detected section headings.  You can force this by adding the pre-processor "
    "command $_$_CONTENTS_LIST on a line by itself, although you'll need to refresh the "
    "field in Word by pressing F9 to actually generate the list",
    "Kelvane can auto-detect documents in Chinese, Japanese, Korean, Thai, Hebrew and a "
    "number of other non-ASCII character sets.  Where possible these will be created as "
    "valid RTF documents although support for multi-byte right-to-left languages is not "
    "fully tested",
    "The 'Link Dictionary' feature allows you to have the software add hyperlinks to key "
    "words and phrases detected in the source document",
    "By default the software will add a title in the form 'converted from...' which may "
    "not be immediately obvious to you.  You can change this if you wish",
    "The software supports a pre-processor that allows you to add tags to the input text "
    "to control aspects of the conversion.  For example you can mark a section of text "
    "as a tab-delimited table.  For more details read the 'Tag Manual'",
    "If you find that some text is coming out unexpectedly large and bold, it's possible "
    "that the software thinks that this is a heading.  Use the 'Conversion Options -> "
    "Output Policies -> Headings' menu option after a conversion to see what heading "
    "types are being detected.  Disable any that don't apply",
    "Line breaks will be inserted whenever a 'short line' is detected.  This is a "
    "calculation based on line length versus the estimated page width.  You can specify "
    "how long a 'short line' is on the 'Conversion Options -> Analysis Policies -> "
    "General Layout' menu option.",
    "The software tests headings for consistency, which includes checking that headings "
    "of a certain type are all at the same indentation.  If you have an inconsistent use "
    "of indentation for your headings (or if they're centered) you can disable this test "
    "under 'Conversion Options -> Analysis policies -> Headings'",
    "If the software is wrongly detecting the extent of a table (by including adjacent "
    "lines, or excluding some lines), then try adjusting the 'Extend Preformatted "
    "regions' option under the 'Conversion Options -> Analysis -> Table' menu.  Adding "
    "blank lines around a table will stop nearby text being drawn into the table",
    "You can specify the minimum number of lines required to make a region of "
    "'preformatted text'.  This can be useful, for example, to prevent email signatures "
    "in a digest all being treated this way.  The option is on the 'Conversion Options "
    "-> Analysis -> pre-formatted text' menu",
    "Preformatted text is tested to see if it's a table, and if this fails to see if "
    "it's a diagram or some other construct.  Looking at the output styles or code will "
    "tell you how it's interpreted each preformatted region of text",
    "Pre-processor tags such as $_$_BEGIN_TABLE .. $_$_END_TABLE can be added to the "
    "source file to delimit regions of preformatted text.  This overrides the analysis "
    "process and so can be used as a means to eliminate any analysis errors or "
    "ambiguities that may arise",
    "If a table is coming out with the wrong number of columns, consider adjusting the "
    "various 'Analyzing Columns' options available on the 'Conversion Options -> "
    "Analysis Policies -> Tables' menu option.  Press F1, or read the documentation for "
    "details on the meanings of the various options there",
    "You can get the program to automatically display the results after conversion.  "
    "Check the option on the Settings menu.",
    "You can convert files by dragging and dropping them onto the program, or onto it's "
    "icon on the desktop",
    "The Language menu allows you to change the user interface into a different "
    "language.  Not all features are available in other languages though.  For example "
    "these tips are only available in English",
    "The 'Language Skin' feature allows you to export the user interface text to a file "
    "for editing, and then to have it reloaded.  This can be useful if you want your own "
    "translation, but if you do, contact us to see if we can add it to the program",
    "Use the 'Updates' menu option to check if your copy of the software is up to date",
    "You can view the Status Dialog again after a conversion by selecting the 'View -> "
    "Messages from the last conversion' menu option",
    "The Windows version can be run from the command line, but we normally advise "
    "running the console version instead if you want to do this.  When the Windows "
    "version is run from the command line the options under the 'Settings -> Drag'n'drop "
    "options' apply",
    "The Windows Help file and the HTML documentation are converted by Norvane products "
    "(Kelvane and Doralith) from the same text file (included in your download), so you "
    "are free to browse whichever format you prefer",
    "Tool tips can be switched on and off using option on the 'Settings' menu",
    "If the program is misinterpreting parts of your files, try creating some diagnostic "
    "files.  This will create a .lis file that will show you how the file has been "
    "converted, and may give you some ideas as to what options to disable",
    "The 'Text Command File' feature allows you to define manipulations that should be "
    "performed to the source text on input (e.g. lines to ignore, or text to be "
    "substituted).  You can also use this to tell the software that certain lines are "
    "headings, list items etc",
    "** This is the last tip. Now read them all again :-) **",
};
static_assert(std::size(kTips) == 51, "50 tips and the end marker");

std::span<const std::string_view> TipTexts() { return kTips; }

// ---- StartupTip ----

void StartupTip::Attach(DialogWindow* window, int controlId) {
  window_ = window;
  controlId_ = controlId;
  if (window_ != nullptr)
    window_->SetPainter(controlId_, this, kAreaWidth, kAreaHeight);
}

// The line with a blank and the word after it fits the width of a tip line.
static bool WordFits(const std::string& line, std::string_view word, std::string& work) {
  work.assign(line);
  work.push_back(' ');
  work.append(word);
  return EstimateTextWidth(1, TextString(work.c_str()), StartupTip::kMeasureSize, 0) <=
         StartupTip::kMaxLineTwips;
}

void StartupTip::SetTip(const char* text, int number, int count) {
  for (std::string& line : lines_)
    line.clear();
  linesInUse_ = 0;
  const std::string_view all = text != nullptr ? text : "";
  std::string work;
  std::size_t at = 0;
  int current = 0;
  while (at < all.size()) {
    if (all[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t end = std::min(all.find(' ', at), all.size());
    const std::string_view word = all.substr(at, end - at);
    at = end;
    std::string* line = &lines_[static_cast<std::size_t>(current)];
    // A word too wide for a line of its own still takes the empty line it comes to.
    if (!line->empty() && !WordFits(*line, word, work)) {
      // The tenth line is full: this word and the ones after it are not shown, so no
      // later, shorter word closes the gap.
      if (current + 1 == kMaxLines)
        break;
      line = &lines_[static_cast<std::size_t>(++current)];
    }
    line->append(word);
    line->push_back(' ');
    linesInUse_ = current + 1;
  }
  if (number != count && linesInUse_ < kMaxLines) {
    std::string& ninth = lines_[kMaxLines - 2];
    ninth += "(tip " + std::to_string(number) + "/" + std::to_string(count - 1) + ")";
    linesInUse_ = kMaxLines - 1;
  }
  if (window_ != nullptr)
    window_->Invalidate(controlId_);
}

// The longest start of text that is at most room pixels wide in the current font.
static std::string FittingStart(DrawingContext& dc, const std::string& text, int room) {
  if (dc.TextExtent(text) <= room)
    return text;
  // Bisection over the length keeps the measuring to a few calls per line.
  std::size_t fits = 0;
  std::size_t tooLong = text.size();
  while (tooLong - fits > 1) {
    const std::size_t middle = fits + (tooLong - fits) / 2;
    if (dc.TextExtent(text.substr(0, middle)) <= room)
      fits = middle;
    else
      tooLong = middle;
  }
  return text.substr(0, fits);
}

void StartupTip::Paint(int /*controlId*/, DrawingContext& dc) {
  const int width = dc.Width();
  const int height = dc.Height();
  dc.FillRect(0, 0, width, height, kBackgroundColour);
  dc.FillRect(0, 0, kBandWidth, height, kBandColour);
  dc.FillRect(kBandWidth, kTitleHeight, width - kBandWidth, kRuleHeight, kBandColour);
  dc.SetFont(FontFamily::Serif, true, 22);
  dc.DrawText(kTextLeft, 5, "Did you know...");
  dc.SetFont(FontFamily::Sans, false, kLineHeight);
  const int room = width - kRightMargin - kTextLeft;
  for (int i = 0; i < linesInUse_; ++i)
    dc.DrawText(kTextLeft, kFirstLineTop + kLineHeight * i,
                FittingStart(dc, lines_[static_cast<std::size_t>(i)], room));
}

// ---- TipsDialog ----

TipsDialog::TipsDialog(BaseDialog& mainDialog, DialogWindow* parent)
    : main_(mainDialog), parent_(parent) {}

TipsDialog::~TipsDialog() {
  tip_.Attach(nullptr, 0);
  if (window_ != nullptr)
    window_->SetEventHandler(nullptr);
}

int TipsDialog::RunModal() {
  window_ = main_.GetPlatform().CreateDialog(*FindDialogTemplate(kDialogTips), parent_);
  window_->SetEventHandler(this);
  OnInitDialog();
  const int result = window_->RunModal();
  tip_.Attach(nullptr, 0);
  window_.reset();
  return result;
}

void TipsDialog::OnInitDialog() {
  tip_.Attach(window_.get(), kTipsArea);
  tips_.Clear();
  for (std::string_view text : TipTexts())
    tips_.Append(std::string(text).c_str());
  ShowNextTip();
  SetLanguage(main_.GetLanguage());
  showOnStartup_ = main_.Settings().showTipsOnStartup;
  window_->SetCheck(kTipsShowOnStartup, showOnStartup_);
}

void TipsDialog::SetLanguage(int /*code*/) {
  // The tips dialog registers no tooltips; a language switch puts its dialog texts back.
  ApplyDialogTexts(window_.get(), kDialogTips);
}

int TipsDialog::GetTipNumber() const { return main_.Settings().lastTipNumber; }

void TipsDialog::ShowNextTip() {
  int number = GetTipNumber() + 1;
  // A stored number outside the list (an edited setting) starts again at the first tip.
  if (number > tips_.GetCount() || number < 1)
    number = 1;
  ShowTip(number);
}

void TipsDialog::ShowPreviousTip() {
  int number = GetTipNumber() - 1;
  if (number <= 0 || number > tips_.GetCount())
    number = tips_.GetCount();
  ShowTip(number);
}

void TipsDialog::ShowTip(int number) {
  const StringListEntry* entry = tips_.GetItem(number - 1);
  if (entry == nullptr)
    return;
  main_.Settings().lastTipNumber = number;
  tip_.SetTip(entry->text.GetText(), number, tips_.GetCount());
}

bool TipsDialog::OnDialogEvent(int controlId, DialogEvent event) {
  if (window_ == nullptr)
    return true;
  if (event == DialogEvent::CloseRequest || event == DialogEvent::Cancel ||
      (event == DialogEvent::Click && controlId == kTipsClose)) {
    window_->EndModal(kTipsClose);
    return true;
  }
  if (event != DialogEvent::Click)
    return true;
  switch (controlId) {
    case kTipsShowOnStartup:
      showOnStartup_ = window_->GetCheck(kTipsShowOnStartup);
      main_.Settings().showTipsOnStartup = showOnStartup_;
      break;
    case kTipsPrevious:
      ShowPreviousTip();
      break;
    case kTipsNext:
      ShowNextTip();
      break;
    default:
      break;
  }
  return true;
}
