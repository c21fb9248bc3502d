#include "lang/LanguageFiles.h"

#include <charconv>
#include <span>
#include <vector>

#include "lang/InterfaceTexts.h"
#include "lang/MenuTexts.h"
#include "lang/ToolTips.h"
#include "text/CodePageText.h"
#include "text/TextFile.h"
#include "text/TextString.h"

// ---- The sections' layout ----

// A run of entries first..last in a section. A row with comment lines writes them before
// its entries, one line per "\n"-separated piece.
struct SectionRun {
  std::string_view comment;
  int first;
  int last;
};

// The dialog-text groups: each group's heading line and its ids in the order written.
static constexpr SectionRun kDialogSection[] = {
    {"!\n!- [All] About box\n!", 3, 12}, {"", 18, 18},
    {"!\n!- [All] Main Dialog\n!", 27, 28}, {"", 53, 53}, {"", 29, 32}, {"", 51, 51},
    {"", 50, 50}, {"", 33, 36}, {"", 45, 46}, {"", 52, 52}, {"", 37, 41}, {"", 26, 26},
    {"", 25, 25}, {"", 42, 44}, {"", 47, 49}, {"", 54, 54},
    {"!\n!- [Tessaway] Main dialog\n!", 55, 57},
    {"!\n!- [Brindlet] Main dialog\n!", 100, 101},
    {"!\n!- [Ombrevix] Analysis->Bullet page\n!", 60, 69},
    {"!\n!- [Ombrevix] Analysis->General Analysis page\n!", 105, 112}, {"", 114, 124},
    {"!\n!- [Ombrevix] Output->Contents page\n!", 130, 143},
    {"!\n!- [Kelvane] Output->File Splitting page\n!", 145, 146}, {"", 152, 159},
    {"", 166, 166}, {"", 165, 165}, {"", 113, 113}, {"", 125, 125},
    {"!\n!- [Ombrevix] Output->Hyperlinks page\n!", 225, 228}, {"", 241, 241},
    {"", 243, 243}, {"", 242, 242}, {"", 229, 229}, {"", 244, 244}, {"", 230, 234},
    {"", 245, 245}, {"", 235, 240},
    {"!\n!- [Kelvane] Output->Make Help page\n!", 935, 945},
    {"!\n!- [Ombrevix] Output->Preprocessor page\n!", 250, 252},
    {"!\n!- [All] Status Dialog\n!", 260, 264},
    {"!\n!- [All] Tip of the Day Dialog\n!", 265, 266}, {"", 268, 268},
    // 274 and 283 appear twice in this group.
    {"!\n!- [Kelvane] Output->RTF formatting page\n!", 290, 290}, {"", 274, 276},
    {"", 278, 278}, {"", 283, 283}, {"", 287, 287}, {"", 289, 289}, {"", 291, 291},
    {"", 294, 295}, {"", 279, 279}, {"", 283, 283}, {"", 292, 292}, {"", 274, 274},
    {"", 293, 293}, {"", 395, 395}, {"", 394, 394}, {"", 378, 378},
    {"!\n!- [All] Save policy file page (1)\n!", 300, 307},
    {"!\n!- [All] Save policy file page (2)\n!", 310, 316},
    {"!\n!- [Ombrevix] Analysis->preformatted text page\n!", 320, 322}, {"", 253, 253},
    {"!\n!- [Ombrevix] Output->Link Dictionary page\n!", 325, 327}, {"", 368, 368},
    {"", 334, 334}, {"", 328, 333},
    {"!\n!- [Kelvane] Config->Style Definition File (SDF)\n!", 925, 931},
    {"!\n!- [Ombrevix] Config->Table Definition File (TDF)\n!", 337, 339},
    {"!\n!- [Ombrevix] Config->Text Commands File\n!", 352, 354},
    {"!\n!- [Ombrevix] Analysis->Headings->Head details dialog\n!", 405, 422},
    {"!\n!- [Doralith] Analysis->Table page\n!", 455, 455}, {"", 376, 376}, {"", 456, 456},
    {"", 458, 460}, {"", 469, 469}, {"", 461, 462}, {"", 490, 490}, {"", 463, 468},
    {"", 457, 457}, {"", 491, 492},
    {"!\n!- [Ombrevix] Analysis->What to look for page\n!", 470, 475}, {"", 489, 489},
    {"", 476, 488},
    {"!\n!- [Ombrevix] Output->Fonts page\n!", 505, 509}, {"", 513, 516}, {"", 510, 512},
    {"", 517, 517},
    {"!\n!- [All] Settings->Drag page\n!", 520, 524},
    {"!\n!- [All] Settings->Viewer page\n!", 530, 530}, {"", 540, 540}, {"", 531, 536},
    {"", 543, 543}, {"", 537, 539}, {"", 541, 542},
    {"!\n!- [All] Settings->Policy page\n!", 545, 549},
    {"!\n!- [All] Settings->Doco page\n!", 555, 557},
    {"!\n!- [Kelvane] Output->Document details\n!", 575, 583},
    {"!\n!- [Kelvane] Output->RTF Settings details\n!", 590, 600},
    {"!\n!- [Ombrevix] Analysis->File Structure\n!", 605, 615}, {"", 623, 623},
    {"", 619, 619}, {"", 616, 618}, {"", 620, 622},
    {"!\n!- [All] Translations page\n!", 675, 681},
    {"!\n!- [All] Sheet titles\n!", 685, 690}, {"", 692, 692}, {"", 691, 691},
    {"", 693, 694},
    {"!\n!- [All] Load language skins\n!", 700, 705},
};

// The message section: comment blocks and message indices in the order written.
static constexpr SectionRun kMessageSection[] = {
    {"!\n!= Data Values =========================\n!\n!\n"
     "!- Most of these strings can be any length (within reason);\n"
     "!- Dialog titles.  Will appear in the title bar of message boxes\n!",
     1, 6},
    {"", 8, 19}, {"", 22, 24}, {"", 108, 108},
    {"!\n!- Messages that will appear in message boxes prompting the user to do something\n!",
     25, 32},
    {"", 45, 59}, {"", 116, 117},
    {"!\n!- Data values that appear on-screen\n!\n! Link Dictionary\n!", 60, 63},
    {"!\n! Left/right/centered etc\n!", 64, 68},
    {"!\n!- general error messages\n!", 69, 71},
    {"!\n"
     "!- file filters.  These are displayed whenever you browse for a file.  The format\n"
     "!  is\n"
     "!      Description|*.ext|\n"
     "!  repeated a number of times.  You can change the description, but not the\n"
     "!  \"*.ext\" extension type\n!",
     85, 85},
    {"", 94, 94}, {"", 86, 86}, {"", 99, 99}, {"", 87, 87}, {"", 93, 93}, {"", 109, 109},
    {"", 92, 92}, {"", 88, 90}, {"", 113, 113}, {"", 91, 91},
    {"!\n!- input file types\n!", 95, 95}, {"", 115, 115}, {"", 96, 98},
    {"!\n!- file conversion types\n!", 104, 104}, {"", 107, 107}, {"", 100, 100},
    {"", 105, 105}, {"", 101, 102}, {"", 106, 106}, {"", 114, 114}, {"", 103, 103},
    {"", 110, 112},
};

static void WriteCommentLines(TextFile& file, std::string_view comment) {
  while (!comment.empty()) {
    const std::size_t end = comment.find('\n');
    const std::string line(comment.substr(0, end));
    (void)file.WriteText(line.c_str());
    if (end == std::string_view::npos)
      break;
    comment.remove_prefix(end + 1);
  }
}

template <typename WriteEntry>
static void WriteSection(TextFile& file, std::span<const SectionRun> runs, WriteEntry write) {
  for (const SectionRun& run : runs) {
    WriteCommentLines(file, run.comment);
    for (int id = run.first; id <= run.last; ++id)
      write(file, id);
  }
}

// ---- Writing ----

void WriteDialogTextEntry(TextFile& file, int id) {
  std::string line = std::to_string(id);
  line += "  : ";
  line += GetDialogText(id);
  (void)file.WriteText(line.c_str());
}

void WriteMessageEntry(TextFile& file, int index) {
  std::string line = std::to_string(kMessageTextFirstId + index);
  line += "  : ";
  for (const char* p = GetMessageText(index); *p != '\0'; ++p) {
    if (*p == '\n')
      line += "\\n";
    else if (*p == '\r')
      line += "\\r";
    else
      line.push_back(*p);
  }
  (void)file.WriteText(line.c_str());
}

void WriteDialogTextSection(TextFile& file) { WriteSection(file, kDialogSection, WriteDialogTextEntry); }

void WriteMessageTranslations(TextFile& file) { WriteSection(file, kMessageSection, WriteMessageEntry); }

bool WriteLanguageFile(const std::string& name) {
  TextFile file;
  if (!file.OpenForWrite(name.c_str(), 0, 0))
    return false;
  WriteDialogTextSection(file);
  WriteToolTipSection(file);
  WriteMenuSection(file);
  WriteMessageTranslations(file);
  file.CloseAll();
  return true;
}

std::string LanguageFileExportName(const std::string& chosen) {
  if (chosen.find('.') != std::string::npos)
    return chosen;
  return chosen + ".lng";
}

// ---- Reading ----

static bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// Line ends of a file written elsewhere are trimmed with the blanks.
static std::string_view Trim(std::string_view text) {
  while (!text.empty() && (IsBlankOrTab(text.front()) || text.front() == '\r' || text.front() == '\n'))
    text.remove_prefix(1);
  while (!text.empty() && (IsBlankOrTab(text.back()) || text.back() == '\r' || text.back() == '\n'))
    text.remove_suffix(1);
  return text;
}

// The decimal number that is the whole of text; false for anything else.
static bool ReadDecimal(std::string_view text, int& value) {
  if (text.empty())
    return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

void ApplyLanguageFileLine(std::string_view line) {
  line = Trim(line.substr(0, line.find('!')));
  const std::size_t colon = line.find(':');
  if (line.empty() || colon == std::string_view::npos)
    return;
  int id = 0;
  if (!ReadDecimal(Trim(line.substr(0, colon)), id) || id <= 0)
    return;
  const std::string_view text = Trim(line.substr(colon + 1));
  if (id < kToolTipTextFirstId) {
    SetDialogTextEntry(id, text);
    return;
  }
  if (id < kMenuTextFirstId) {
    SetToolTipEntry(id, text);
    return;
  }
  if (id < kMessageTextFirstId) {
    SetMenuEntry(id, text);
    return;
  }
  SetMessageText(id, text);
}

static int OtherCodePage(int codePage) { return codePage == 1251 ? 1252 : 1251; }

// The code page that holds every character of the UTF-8 lines: codePage when it does, else
// the other interface code page when that one does, else codePage.
static int CodePageForUtf8(const std::vector<std::string>& lines, int codePage) {
  std::string converted;
  bool fits = true;
  bool otherFits = true;
  for (const std::string& line : lines) {
    fits = fits && Utf8ToCodePage(line, codePage, converted);
    otherFits = otherFits && Utf8ToCodePage(line, OtherCodePage(codePage), converted);
  }
  return !fits && otherFits ? OtherCodePage(codePage) : codePage;
}

LanguageFileRead ReadLanguageFile(const std::string& name, int codePage) {
  LanguageFileRead read;
  read.codePage = codePage;
  TextFile file;
  if (name.empty() || !file.OpenForRead(name.c_str(), 0))
    return read;
  read.opened = true;
  // The whole file is read first: whether it is UTF-8 is a property of all its lines.
  std::vector<std::string> lines;
  std::string all;
  TextString line;
  while (file.ReadLine(line, nullptr)) {
    lines.emplace_back(line.GetText(), static_cast<std::size_t>(line.GetLength()));
    all += lines.back();
    all += '\n';
  }
  file.CloseAll();
  static constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (!lines.empty() && lines.front().starts_with(kUtf8Mark))
    lines.front().erase(0, kUtf8Mark.size());
  read.utf8 = IsUtf8BeyondAscii(all);
  if (read.utf8)
    read.codePage = CodePageForUtf8(lines, codePage);
  std::string converted;
  for (const std::string& text : lines) {
    if (!read.utf8) {
      ApplyLanguageFileLine(text);
      continue;
    }
    (void)Utf8ToCodePage(text, read.codePage, converted);
    ApplyLanguageFileLine(converted);
  }
  return read;
}
