#include "engine/LinkText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Entities.h"
#include "engine/Context.h"
#include "engine/EntityTable.h"
#include "policy/ConversionOptions.h"
#include "policy/FileControl.h"
#include "text/CharacterUtils.h"
#include "text/PathUtils.h"
#include "text/StringList.h"
#include "text/TextPosition.h"

// ---- Link text ----

static bool StartsWithView(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

static bool EndsWithView(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

static char FoldUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

static bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size())
    return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldUpper(text[i]) != FoldUpper(prefix[i]))
      return false;
  }
  return true;
}

// The text inside an anchor: after the first ">" not followed by "<", before the last "<" not
// preceded by ">". Without such a span, a word with exactly one tag loses that tag.
static std::string WithoutMarkup(std::string_view line) {
  std::size_t open = std::string_view::npos;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '>' && (i + 1 >= line.size() || line[i + 1] != '<')) {
      open = i;
      break;
    }
  }
  std::size_t close = std::string_view::npos;
  for (std::size_t i = line.size(); i-- > 0;) {
    if (line[i] == '<' && (i == 0 || line[i - 1] != '>')) {
      close = i;
      break;
    }
  }
  if (open != std::string_view::npos && close != std::string_view::npos && open < close)
    return std::string(line.substr(open + 1, close - open - 1));
  const std::size_t less = line.find('<');
  const std::size_t greater = line.find('>');
  const bool oneTag = std::count(line.begin(), line.end(), '<') == 1 &&
                      std::count(line.begin(), line.end(), '>') == 1 && less < greater;
  std::string text(line);
  if (oneTag)
    text.erase(less, greater - less + 1);
  return text;
}

// Strips what may stand before a link: brackets, quotes, "&lt;" and scheme-like prefixes that
// are not part of the address.
static std::string_view SkipLeading(std::string_view text) {
  static constexpr std::string_view kPrefixes[] = {
      "mailto:", "snews:", "HREF=\"", "news:", "&lt;", "URL:", "'", "(", "<", "[", "`", "{",
  };
  bool again = true;
  while (again && !text.empty()) {
    again = false;
    for (const std::string_view prefix : kPrefixes) {
      if (!StartsWithView(text, prefix))
        continue;
      text.remove_prefix(prefix.size());
      again = true;
      break;
    }
  }
  return text;
}

// Strips punctuation and possessives after a link; longer endings are tried first so that
// "&gt;" goes whole rather than losing its ";".
static std::string_view DropTrailing(std::string_view text) {
  static constexpr std::string_view kSuffixes[] = {
      "&lt;", "&gt;", "'s", "'", ")", ",", ".", ":", ";", "<", ">", "?", "]", "`", "}",
  };
  bool again = true;
  while (again && !text.empty()) {
    again = false;
    for (const std::string_view suffix : kSuffixes) {
      if (!EndsWithView(text, suffix))
        continue;
      text.remove_suffix(suffix.size());
      again = true;
      break;
    }
  }
  return text;
}

// One double quote: the longer side of it stays. A pair at both ends is dropped.
static std::string_view SettleQuotes(std::string_view text) {
  const std::size_t first = text.find('"');
  if (first == std::string_view::npos)
    return text;
  const std::size_t last = text.rfind('"');
  if (first == last) {
    const std::string_view before = text.substr(0, first);
    const std::string_view after = text.substr(first + 1);
    return before.size() < after.size() ? after : before;
  }
  if (first == 0 && last == text.size() - 1)
    return text.substr(1, text.size() - 2);
  return text;
}

// Scheme names with the shortest text that can still be an address behind them.
static bool IsTooShortForItsScheme(std::string_view text) {
  struct Floor {
    std::string_view scheme;
    std::size_t minimum;
  };
  static constexpr Floor kFloors[] = {
      {"ftp", 8}, {"http", 9}, {"gopher", 11}, {"telnet", 11}, {"mailto", 11},
  };
  for (const Floor& floor : kFloors) {
    if (StartsWithNoCase(text, floor.scheme))
      return text.size() < floor.minimum;
  }
  return false;
}

static bool HoldsRefusedText(std::string_view text, int mode) {
  if (text.find_first_of("!()*{}") != std::string_view::npos)
    return true;
  if (text.find("&lt;") != std::string_view::npos || text.find("&gt;") != std::string_view::npos)
    return true;
  return mode != kDetectWebAddress && text.find_first_of("[]") != std::string_view::npos;
}

int DetectUrls(int mode, const TextString& word, TextString& linkText, int htmlOutput) {
  if (word.IsEmpty())
    return 1;
  std::string_view line(word.GetText(), static_cast<std::size_t>(word.GetLength()));
  line = line.substr(0, line.find_first_of("\r\n"));
  std::string unmarked;
  if (htmlOutput != 0 && line.find('<') != std::string_view::npos &&
      line.find('>') != std::string_view::npos) {
    unmarked = WithoutMarkup(line);
    line = unmarked;
  }
  std::string_view text = DropTrailing(SkipLeading(line));
  text = SettleQuotes(text);
  if (text.empty() || IsTooShortForItsScheme(text))
    return 0;
  const bool oneAt = std::count(word.GetText(), word.GetText() + word.GetLength(), '@') == 1;
  if (text.front() == '"' && !oneAt)
    return 0;
  if (HoldsRefusedText(text, mode))
    return 0;
  if (std::count(text.begin(), text.end(), '"') % 2 != 0)
    return 0;
  linkText.AssignBytes(text.data(), static_cast<int>(text.size()));
  return 1;
}

// ---- Input anchors ----

static bool IsPassRunning(const FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr && (ctx->AnalysisPass != 0 || ctx->ContentsPass != 0 || ctx->OutputPass != 0);
}

// "<a" opens an anchor only as a whole tag name ("<abbr>" and "<address>" are other tags).
static int FindAnchorOpen(const std::string& folded, std::size_t from) {
  for (std::size_t at = folded.find("<a", from); at != std::string::npos;
       at = folded.find("<a", at + 1)) {
    const char next = at + 2 < folded.size() ? folded[at + 2] : '\0';
    if (next == '>' || next == ' ' || next == '\t' || next == '\r' || next == '\n')
      return static_cast<int>(at);
  }
  return -1;
}

static std::string FoldLower(const TextString& text) {
  std::string folded(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  return folded;
}

static void RemoveMarkup(TextString& text) {
  TextString plain;
  int depth = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == '<') {
      ++depth;
      continue;
    }
    if (c == '>' && depth > 0) {
      --depth;
      continue;
    }
    if (depth == 0)
      plain.AppendChar(c);
  }
  text = std::move(plain);
}

// The first closing tag at or after from that no anchor has taken yet.
static std::size_t FindFreeClose(const std::string& folded, std::size_t from,
                                 const std::set<std::size_t>& taken) {
  std::size_t at = folded.find("</a>", from);
  while (at != std::string::npos && taken.count(at) != 0)
    at = folded.find("</a>", at + 1);
  return at;
}

void ExtractInputLinks(FileControl& fc, const TextString& in, TextString& out) {
  const bool offer = IsPassRunning(fc);
  const std::string folded = FoldLower(in);
  // The anchor and closing tags to drop; the text is copied once around them, so a line with
  // many anchors costs no more than its length.
  std::vector<std::pair<std::size_t, std::size_t>> dropped;  // (start, length)
  std::set<std::size_t> taken;
  std::size_t from = 0;
  for (;;) {
    const int open = FindAnchorOpen(folded, from);
    if (open < 0)
      break;
    const std::size_t start = static_cast<std::size_t>(open);
    const std::size_t tagEnd = folded.find('>', start);
    if (tagEnd == std::string::npos)
      break;
    const std::size_t close = FindFreeClose(folded, tagEnd + 1, taken);
    if (close == std::string::npos)
      break;
    taken.insert(close);
    dropped.emplace_back(start, tagEnd + 1 - start);
    dropped.emplace_back(close, 4);
    // The link text may hold a further anchor: the search goes on inside it.
    from = tagEnd + 1;
    if (!offer)
      continue;
    TextString anchorTag;
    anchorTag.AssignBytes(in.GetText() + open, static_cast<int>(tagEnd + 1 - start));
    TextString linkText;
    linkText.AssignBytes(in.GetText() + tagEnd + 1, static_cast<int>(close - tagEnd - 1));
    RemoveMarkup(linkText);
    // The dictionary keeps no anchor without an address, so which occurrence of its text the
    // anchor surrounded is not counted (-1): counting it for every anchor would make a line
    // with many anchors quadratic.
    (void)fc.AddLinkDefinition(linkText, linkText, TextString(), anchorTag, -1, open);
  }
  std::sort(dropped.begin(), dropped.end());
  TextString result;
  result.Reserve(in.GetLength());
  std::size_t cursor = 0;
  const auto copyUpTo = [&](std::size_t end) {
    for (; cursor < end; ++cursor)
      result.AppendChar(in.CharAt(static_cast<int>(cursor)));
  };
  for (const auto& [start, length] : dropped) {
    copyUpTo(start);
    cursor = std::max(cursor, start + length);
  }
  copyUpTo(static_cast<std::size_t>(in.GetLength()));
  out = std::move(result);
}

// ---- Entities ----

// Unicode values of the Windows-1252 bytes 128-159; the five unassigned bytes stand for
// themselves.
static constexpr std::array<int, 32> kWindows1252High = {
    8364, 129,  8218, 402,  8222, 8230, 8224, 8225, 710,  8240, 352,
    8249, 338,  141,  381,  143,  144,  8216, 8217, 8220, 8221, 8226,
    8211, 8212, 732,  8482, 353,  8250, 339,  157,  382,  376,
};

int EntityToUtf8(const EntityTable& table, std::string_view entity, int& code, int& byte1,
                 int& byte2, int& byte3) {
  byte1 = byte2 = byte3 = 0;
  if (!EntityToCode(table, entity, code))
    return 0;
  if (code >= 128 && code <= 159)
    code = kWindows1252High[static_cast<std::size_t>(code - 128)];
  if (code < 128) {
    byte1 = code;
    return 1;
  }
  if (code < 2048) {
    byte1 = 192 + code / 64;
    byte2 = 128 + code % 64;
    return 1;
  }
  if (code > 0xFFFF)
    return 0;
  byte1 = 224 + code / 4096;
  byte2 = 128 + (code % 4096) / 64;
  byte3 = 128 + code % 64;
  return 1;
}

namespace {

// The settings of one decoding, and the state it carries from entity to entity.
struct EntityDecoder {
  const EntityTable& table;
  int multiByte;
  int fixedCharacterSet;
  int plainCharacters;
  int latin1;
  int substitute;
  std::string_view substituteBytes;
  StringList* namesUsed;
  int* converted;
  // Once a character went out as UTF-8, every later one does too.
  bool forcedMultiByte = false;

  // Appends the replacement of the entity to out; false leaves the entity as it stands.
  bool Replace(std::string_view entity, TextString& out);

 private:
  bool ReplaceSingleByte(int code, TextString& out) const;
  bool ReplaceMultiByte(std::string_view entity, TextString& out);
  void NoteMultiByte(std::string_view entity);
};

}  // namespace

// The code of an entity as written, or of its lower-case form when its name is written all
// in capitals and unknown as written ("&EACUTE;"; "&ETH;" keeps its own code).
static bool LookUpEntity(const EntityTable& table, std::string_view entity, int& code,
                         std::string& lowered) {
  if (EntityToCode(table, entity, code))
    return true;
  lowered.assign(entity);
  bool hasLetter = false;
  for (char& c : lowered) {
    if (c >= 'a' && c <= 'z')
      return false;
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c + 32);
      hasLetter = true;
    }
  }
  return hasLetter && EntityToCode(table, lowered, code);
}

bool EntityDecoder::Replace(std::string_view entity, TextString& out) {
  if (entity == "&nbsp;" && plainCharacters != 0 && (fixedCharacterSet == 0 || substitute != 0)) {
    out.AppendChar(' ');
    return true;
  }
  if (multiByte == 0) {
    int code = -1;
    std::string lowered;
    return LookUpEntity(table, entity, code, lowered) && ReplaceSingleByte(code, out);
  }
  return ReplaceMultiByte(entity, out);
}

bool EntityDecoder::ReplaceSingleByte(int code, TextString& out) const {
  // Code 0 would end the text; codes above 255 have no byte.
  if (code <= 0 || code > 255)
    return false;
  if (code == 160 && plainCharacters != 0) {
    out.AppendChar(' ');
    return true;
  }
  out.AppendChar(static_cast<char>(code));
  return true;
}

void EntityDecoder::NoteMultiByte(std::string_view entity) {
  if (converted != nullptr)
    *converted = 1;
  if (namesUsed == nullptr)
    return;
  const TextString name(std::string(entity).c_str());
  if (!namesUsed->Find(name, nullptr))
    namesUsed->Append(name.GetText());
}

bool EntityDecoder::ReplaceMultiByte(std::string_view entity, TextString& out) {
  int code = -1;
  int bytes[4] = {0, 0, 0, 0};
  std::string lowered;
  if (!LookUpEntity(table, entity, code, lowered))
    return false;
  const std::string_view known = lowered.empty() ? entity : std::string_view(lowered);
  if (EntityToUtf8(table, known, code, bytes[0], bytes[1], bytes[2]) == 0 || code == 0)
    return false;
  const bool singleByteForms = !forcedMultiByte && (fixedCharacterSet == 0 || substitute != 0);
  if (singleByteForms) {
    int count = 0;
    int ansi[4] = {bytes[0], bytes[1], bytes[2], 0};
    if (plainCharacters != 0 && MapUnicodeToAnsi(code, ansi[0], ansi[1], ansi[2], ansi[3], count)) {
      for (int i = 0; i < count; ++i)
        out.AppendChar(static_cast<char>(ansi[i]));
      return true;
    }
    if (bytes[1] == 0) {
      out.AppendChar(static_cast<char>(bytes[0]));
      return true;
    }
    if (latin1 != 0 && code >= 128 && code <= 255) {
      out.AppendChar(static_cast<char>(code));
      return true;
    }
  }
  if (substitute != 0) {
    for (const char b : substituteBytes)
      out.AppendChar(b);
  } else {
    for (const int b : bytes) {
      if (b != 0)
        out.AppendChar(static_cast<char>(b));
    }
    forcedMultiByte = true;
  }
  NoteMultiByte(entity);
  return true;
}

static bool IsFixedCharacterSet(const ConversionOptions& options) {
  if (options.fixedCharacterSet != 0)
    return true;
  const TextString& name = options.characterSetName;
  return !name.IsEmpty() && !name.Compare("auto", 0, 0);
}

// An entity candidate: "&" and a ";" within the next 8 characters; its length, or 0.
static int EntityLengthAt(const TextString& text, int pos) {
  const int limit = std::min(text.GetLength(), pos + 9);
  for (int i = pos + 1; i < limit; ++i) {
    if (text.CharAt(i) == ';')
      return i - pos + 1;
  }
  return 0;
}

int DecodeEntities(const EntityTable& table, const ConversionOptions& options,
                   const TextString& in, TextString& out, StringList* namesUsed,
                   int* converted) {
  if (!in.ContainsChar('&') || !in.ContainsChar(';')) {
    if (&out != &in)
      out.Assign(in);
    return 0;
  }
  const TextString& substituteText = options.unicodeReplacement;
  EntityDecoder decoder{table,
                        options.multiByteOutput,
                        IsFixedCharacterSet(options) ? 1 : 0,
                        options.plainCharacters,
                        options.latin1Output,
                        options.suppressUnicode,
                        std::string_view(substituteText.GetText(),
                                         static_cast<std::size_t>(std::min(substituteText.GetLength(), 4))),
                        namesUsed,
                        converted};
  TextString result;
  result.Reserve(in.GetLength());
  int replaced = 0;
  for (int i = 0; i < in.GetLength(); ++i) {
    const char c = in.CharAt(i);
    const int length = c == '&' ? EntityLengthAt(in, i) : 0;
    if (length > 0 &&
        decoder.Replace(std::string_view(in.GetText() + i, static_cast<std::size_t>(length)), result)) {
      ++replaced;
      i += length - 1;
      continue;
    }
    result.AppendChar(c);
  }
  out = std::move(result);
  return replaced;
}

// ---- Safe names ----

// Entity decoding for names: the policies' options with single Latin-1 bytes, the substitute
// for what has none, and no blank for "&nbsp;" preference.
static void DecodeForName(FileControl& fc, const EntityTable& table, const TextString& text,
                          TextString& out) {
  if (!text.ContainsChar('&') || !text.ContainsChar(';')) {
    if (&out != &text)
      out.Assign(text);
    return;
  }
  ConversionOptions options = ConversionOptions::ConversionOptionsFromPolicies(fc.GetPolicyList());
  options.latin1Output = 1;
  options.plainCharacters = 0;
  options.suppressUnicode = 1;
  (void)DecodeEntities(table, options, text, out);
}

void MakeSafeAnchorText(FileControl& fc, const EntityTable& table, const TextString& text,
                        TextString& out) {
  DecodeForName(fc, table, text, out);
  MakeSafeFileName(out);
}

static constexpr std::array<char, 256> MakeSplitNameTable() {
  std::array<char, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[static_cast<std::size_t>(c)] = static_cast<char>(c);
  for (int c = 128; c < 256; ++c)
    table[static_cast<std::size_t>(c)] = '_';
  struct Range {
    int first;
    int last;
    char to;
  };
  constexpr Range kRanges[] = {
      // Punctuation that file systems or links dislike.
      {' ', '#', '_'}, {'%', ',', '_'}, {'.', '/', '_'}, {':', ':', '_'}, {'<', '@', '_'},
      {'[', '^', '_'}, {'{', '}', '_'},
      // Accented Latin-1 vowels.
      {0xC0, 0xC2, 'a'}, {0xC4, 0xC4, 'a'}, {0xE0, 0xE2, 'a'}, {0xE4, 0xE4, 'a'},
      {0xC8, 0xCB, 'e'}, {0xE8, 0xEB, 'e'}, {0xCC, 0xCF, 'i'}, {0xEC, 0xEF, 'i'},
      {0xD2, 0xD4, 'o'}, {0xD6, 0xD6, 'o'}, {0xF2, 0xF4, 'o'}, {0xF6, 0xF6, 'o'},
      {0xD9, 0xDC, 'u'}, {0xF9, 0xFC, 'u'},
  };
  for (const Range& range : kRanges) {
    for (int c = range.first; c <= range.last; ++c)
      table[static_cast<std::size_t>(c)] = range.to;
  }
  return table;
}

static constexpr std::array<char, 256> kSplitName = MakeSplitNameTable();

void MakeSafeSplitName(FileControl& fc, const EntityTable& table, const TextString& text,
                       TextString& out) {
  DecodeForName(fc, table, text, out);
  char* buffer = out.GetBuffer();
  for (int i = 0; i < out.GetLength(); ++i)
    buffer[i] = kSplitName[static_cast<unsigned char>(buffer[i])];
  out.Trim(1, "_");
}
