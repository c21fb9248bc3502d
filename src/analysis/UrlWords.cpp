#include "analysis/UrlWords.h"

#include "engine/HelpLinks.h"
#include <array>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>

#include "engine/LinkText.h"
#include "analysis/PreHTML.h"
#include "text/ProtectedSpans.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "text/CharacterUtils.h"
#include "text/ProductIdentity.h"
#include "text/StatementTypes.h"

static constexpr char kBackspace = '\x08';

// ---- Small text helpers ----

static bool IsBlankByte(char c) { return c == ' ' || c == '\t'; }
static bool IsHighByte(char c) { return static_cast<unsigned char>(c) > 127; }
static char FoldAscii(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
static bool SameNoCase(char a, char b) { return FoldAscii(a) == FoldAscii(b); }

// Where s first stands in text at or after from; -1 when it does not.
static int FindText(const TextString& text, const char* s, int from, bool ignoreCase) {
  int pos = -1;
  return text.Find(from, s, &pos, ignoreCase ? 0 : 1, 0) ? pos : -1;
}
static int PositionNoCase(const TextString& text, const char* s, int from = 0) {
  return FindText(text, s, from, true);
}
// Where s last stands in text (ASCII case ignored); -1 when it does not.
static int FindLastNoCase(const TextString& text, const char* s) {
  int last = -1;
  for (int at = PositionNoCase(text, s); at >= 0; at = PositionNoCase(text, s, at + 1)) last = at;
  return last;
}
static int FindLastChar(const TextString& text, char c) {
  for (int i = text.GetLength() - 1; i >= 0; --i)
    if (text.CharAt(i) == c) return i;
  return -1;
}
static int FindFirstChar(const TextString& text, char c) {
  int pos = -1;
  return text.FindChar(0, c, &pos, 1) ? pos : -1;
}
// Removes the first occurrence of s (ASCII case ignored); true when there was one.
static bool RemoveFirst(TextString& text, const char* s) {
  const int at = PositionNoCase(text, s);
  if (at < 0) return false;
  text.ReplaceSpan(at, static_cast<int>(std::string_view(s).size()), "");
  return true;
}
static bool EndsWithAt(const TextString& text, int end, std::string_view s) {
  const int n = static_cast<int>(s.size());
  return end >= n && std::string_view(text.GetText() + end - n, s.size()) == s;
}
// Replaces the first occurrence of part in word by replacement, into out; false (out
// untouched) when word does not hold part.
static bool ReplaceFirstInto(const TextString& word, const TextString& part,
                             const TextString& replacement, TextString& out) {
  const int at = FindText(word, part.GetText(), 0, false);
  if (at < 0) return false;
  out.AssignBytes(word.GetText(), at);
  out.Append(replacement);
  out.Append(word.GetText() + at + part.GetLength());
  return true;
}

bool IsBraceNeutralRtf(const TextString& text) {
  const int length = text.GetLength();
  for (int i = 0; i < length; ++i) {
    const char c = text.CharAt(i);
    if (c == '{' || c == '}') return false;
    if (c != '\\') continue;
    // A backslash escapes what follows it; one at the very end would escape the brace that
    // closes the group around the text.
    if (i + 1 >= length) return false;
    ++i;
  }
  return true;
}

// ---- The word object ----

PreHTML& WordObjectOf(Context& ctx) {
  if (!ctx.WordObject) ctx.WordObject = std::make_unique<PreHTML>();
  PreHTML& word = static_cast<PreHTML&>(*ctx.WordObject);
  word.UrlWork();
  return word;
}

UrlWorkTexts& PreHTML::UrlWork() {
  if (!urlWork_) urlWork_ = std::make_unique<UrlWorkTexts>();
  return *urlWork_;
}

int PreHTML::GetLinkLength() const { return urlWork_ ? urlWork_->linkLength : 0; }

static int OutputFormatOf(FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr ? ctx->GetOutputType() : kOutputRtf;
}

static void ReportUnsupportedFormat(FileControl& fc, const char* where) {
  TextString message("UNSUPPORTED CASE: Output Format ");
  message.Append(where);
  fc.ReportMessage(message.GetText(), 10);
}

// The RTF link of an address: a help-file macro link or a HYPERLINK field. Empty when the
// texts could change the document's brace balance or no link was made.
static void BuildRtfAddressLink(FileControl& fc, int kind, const TextString& target,
                                const TextString& text, TextString& markup) {
  markup.SetEmpty();
  if (!IsBraceNeutralRtf(target) || !IsBraceNeutralRtf(text)) return;
  if (fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0)
    BuildHelpLink(fc, kind, false, target, text, markup);
  else
    BuildHyperlinkField(fc, kind, target, text, markup);
  // The builders give the text alone when the target is no plausible address.
  if (markup.Equals(text) && markup.GetLength() == text.GetLength()) markup.SetEmpty();
}

// ---- Web and file-transfer words ----

// File extensions that end an address, tested as prefixes (".htm" also covers ".html").
static constexpr const char* kLinkExtensions[] = {
    ".htm", ".jhtm", ".shtm", ".xml", ".dtd", ".xsd", ".txt", ".doc", ".pdf", ".rtf",
    ".wpd", ".js",   ".css",  ".gz",  ".exe", ".tar", ".zip", ".gzip", ".au", ".mid",
    ".avi", ".swf",  ".wav",  ".ram", ".gif", ".mpg", ".mpeg", ".mov", ".jpg", ".bmp",
    ".mng", ".png",  ".jng",  ".jpeg", ".mv", ".asp", ".cfm", ".php", ".stm",
};

static bool StartsLinkExtension(const TextString& word, int dot) {
  const std::string_view rest(word.GetText() + dot, static_cast<std::size_t>(word.GetLength() - dot));
  for (const char* extension : kLinkExtensions) {
    const std::string_view e(extension);
    if (rest.size() < e.size()) continue;
    if (std::equal(e.begin(), e.end(), rest.begin(), SameNoCase)) return true;
  }
  return false;
}

// A comma in an address with a "/" is allowed only where a query or a trailing list comma
// can put it; true when the word is to be refused for its commas.
static bool RefusedForCommas(const TextString& word) {
  const int firstComma = FindFirstChar(word, ',');
  if (firstComma < 0) return false;
  const int firstSlash = FindFirstChar(word, '/');
  if (firstComma < firstSlash) return true;
  const int lastComma = FindLastChar(word, ',');
  int extension = -1;
  for (int i = word.GetLength() - 1; i >= 0 && extension < 0; --i)
    if (word.CharAt(i) == '.' && StartsLinkExtension(word, i)) extension = i;
  if (extension < 0) {
    const int lastDot = FindLastChar(word, '.');
    const int lastQuery = FindLastChar(word, '?');
    const int lastScheme = FindLastNoCase(word, "://");
    const int lastWww = std::max(FindLastNoCase(word, "www."), FindLastNoCase(word, "ww2."));
    const int lastDomain = std::max({FindLastNoCase(word, ".com"), FindLastNoCase(word, ".net"),
                                     FindLastNoCase(word, ".org")});
    if (firstComma < lastScheme || firstComma < lastWww || firstComma < lastDomain) return true;
    return firstComma < lastDot && !(lastQuery > lastDot);
  }
  return extension < lastComma &&
         (lastComma - extension > 6 || lastComma != word.GetLength() - 1);
}

// What a trim strips from the ends of a candidate: bytes of the two sets, bytes above 127 when
// asked, and the entities "&amp;", "&gt;" and "&lt;" at the end when asked.
struct TrimRule {
  std::string_view leading;
  std::string_view trailing;
  bool highBytes;
  bool trailingEntities;
};

// Strips the rule's bytes from both ends, repeatedly, while more than one byte remains.
static void TrimEnds(TextString& candidate, const TrimRule& rule) {
  const auto strips = [&rule](std::string_view set, char c) {
    return set.find(c) != std::string_view::npos || (rule.highBytes && IsHighByte(c));
  };
  int begin = 0;
  int end = candidate.GetLength();
  bool again = true;
  while (again && end - begin > 1) {
    again = false;
    if (strips(rule.leading, candidate.CharAt(begin))) {
      ++begin;
      again = true;
      continue;
    }
    for (const std::string_view entity : {std::string_view("&amp;"), std::string_view("&gt;"),
                                          std::string_view("&lt;")}) {
      if (!rule.trailingEntities || end - begin <= static_cast<int>(entity.size()) ||
          !EndsWithAt(candidate, end, entity))
        continue;
      end -= static_cast<int>(entity.size());
      again = true;
      break;
    }
    if (!again && strips(rule.trailing, candidate.CharAt(end - 1))) {
      --end;
      again = true;
    }
  }
  candidate.KeepSubstring(begin, end - begin);
}

// Strips what surrounds an address: quotes, brackets, closing punctuation and high bytes.
static void TrimWebCandidate(TextString& candidate) {
  TrimEnds(candidate, {"\"([{", "!\"').;]}", true, true});
  // Each text looked for below holds a colon or an ampersand, which most words lack.
  if (!candidate.ContainsChar(':') && !candidate.ContainsChar('&')) return;
  RemoveFirst(candidate, "URL:");
  RemoveFirst(candidate, "&gt;");
  RemoveFirst(candidate, "&lt;");
  const int scheme = PositionNoCase(candidate, "http://");
  if (scheme > 0) candidate.KeepFrom(scheme);
}

// One row of the scheme table: a word holding text, long enough, is tested with its domain
// check kind; it gives type when its policy is on.
struct SchemeRow {
  const char* text;
  int minLength;  // the candidate must be at least this long
  int checkKind;
  int type;
  PolicyId policy;
  bool explicitScheme;  // the domain check follows "Check domain name syntax"
  int refusedType;      // 0: a refusal gives kUrlNone
  bool refusedWhenCheckFails;
};

static constexpr SchemeRow kSchemeRows[] = {
    {"http://", 11, 0, kUrlHttp, PolicyId::CreateHyperlinks, true, 0, false},
    {"https://", 12, 1, kUrlHttp, PolicyId::CreateHyperlinks, true, 0, false},
    {"ftp://", 10, 2, kUrlFtp, PolicyId::CreateFTPLinks, true, 0, false},
    {"gopher://", 13, 3, kUrlGopher, PolicyId::CreateGopherLinks, true, 0, false},
    {"telnet://", 13, 4, kUrlTelnet, PolicyId::CreateTelnetLinks, true, 0, false},
    {"www.", 8, 0, kUrlWww, PolicyId::CreateHyperlinks, false, kUrlRefusedWww, false},
    {"ftp.", 8, 2, kUrlFtpSite, PolicyId::CreateFTPLinks, false, kUrlRefusedFtp, false},
    {"gopher.", 11, 3, kUrlGopherSite, PolicyId::CreateGopherLinks, false, kUrlRefusedGopher, true},
    {"telnet.", 11, 4, kUrlTelnetSite, PolicyId::CreateTelnetLinks, false, kUrlRefusedTelnet, true},
};

// The scheme put in front of the target of a link found without one.
static const char* SchemeOfType(int type) {
  switch (type) {
    case kUrlWww: return "http://";
    case kUrlFtpSite:
    case kUrlDottedFtpSite: return "ftp://";
    case kUrlGopherSite: return "gopher://";
    case kUrlTelnetSite: return "telnet://";
    default: return nullptr;
  }
}

// A dotted name that may be a file-transfer site: not starting with "-" or ".", longer than
// 7, without "@" or news prefixes, and of three or more fields.
static bool MayBeDottedSite(const TextString& candidate) {
  const char first = candidate.CharAt(0);
  if (first == '-' || first == '.' || candidate.GetLength() <= 7) return false;
  if (candidate.ContainsChar('@') ||
      (candidate.ContainsChar(':') && PositionNoCase(candidate, "news:") >= 0))
    return false;
  return candidate.CountChar('.') >= 2;
}

int PreHTML::TidyHTTPWord(FileControl& fc, int& converted, TextString& rewritten,
                          Statement& target) {
  if (converted == 1) return kUrlNone;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return kUrlNone;
  const int format = ctx->GetOutputType();
  if (format == kOutputPlainText || format == kOutputTextMarkersDropped) return kUrlNone;
  if (fc.GetInt(PolicyId::CreateHyperlinks) == 0) return kUrlNone;

  if (ContainsChar('/')) {
    if (RefusedForCommas(*this)) return kUrlNone;
  } else if (ContainsChar(',') || !ContainsChar('.')) {
    return kUrlNone;
  }

  UrlWorkTexts& work = UrlWork();
  work.candidate.Assign(*this);
  TrimWebCandidate(work.candidate);
  const TextString& candidate = work.candidate;
  const int length = candidate.GetLength();

  int type = kUrlNone;
  bool matched = false;
  int changed = 0;
  work.testedHost.Assign(candidate);
  work.correctedHost.Assign(candidate);
  // Most candidates hold no colon, so the schemes that name one cannot stand in them.
  const bool colon = candidate.ContainsChar(':');
  for (const SchemeRow& row : kSchemeRows) {
    if ((!colon && std::strchr(row.text, ':') != nullptr) || length < row.minLength)
      continue;
    const int at = PositionNoCase(candidate, row.text);
    if (at < 0) continue;
    matched = true;
    if (fc.GetInt(row.policy) == 0) return kUrlNone;
    if (!row.explicitScheme) {
      // A site name far into the word, or behind an "http://" too short to be an address,
      // is no address.
      const int scheme = PositionNoCase(candidate, "http://");
      if (at > 7 || (scheme >= 0 && scheme <= 2)) return row.refusedType;
    }
    const bool check = !row.explicitScheme || fc.GetInt(PolicyId::CheckDomainNameSyntax) != 0;
    if (check &&
        ctx->IsValidDomain(work.testedHost, row.checkKind, work.correctedHost, changed) == 0)
      return row.refusedWhenCheckFails ? row.refusedType : kUrlNone;
    type = row.type;
    break;
  }
  if (!matched && fc.GetInt(PolicyId::CreateFTPLinks) != 0 &&
      fc.GetInt(PolicyId::OnlyAllowExplicitFTPLinks) == 0 && MayBeDottedSite(candidate) &&
      ctx->IsValidDomain(work.testedHost, 2, work.correctedHost, changed) != 0)
    type = kUrlDottedFtpSite;
  if (type == kUrlNone) return kUrlNone;

  if (FindText(candidate, "..", 0, false) >= 0) return kUrlNone;
  if (DetectUrls(kDetectWebAddress, candidate, work.linkText, format == kOutputHtml ? 1 : 0) == 0 ||
      work.linkText.IsEmpty())
    return kUrlNone;
  work.linkTarget.Assign(work.linkText);
  if (const char* scheme = SchemeOfType(type)) {
    if (!work.linkTarget.ContainsChar('/')) work.linkTarget.AppendChar('/');
    work.linkTarget.Insert(0, scheme);
  }
  if (format != kOutputRtf) {
    ReportUnsupportedFormat(fc, "in TidyHTTPWord");
    return kUrlNone;
  }
  BuildRtfAddressLink(fc, 2, work.linkTarget, work.linkText, work.linkMarkup);
  if (work.linkMarkup.IsEmpty()) return kUrlNone;
  if (changed != 0) {
    work.message.Assign("INFO: Using domain name \"");
    work.message.Append(work.correctedHost);
    work.message.Append("\" for \"");
    work.message.Append(work.testedHost);
    work.message.AppendChar('"');
    fc.ReportMessage(work.message.GetText(), 5);
    work.linkMarkup.ReplaceAll(work.testedHost.GetText(), work.correctedHost.GetText(), 0, 1);
  }
  if (!ReplaceFirstInto(*this, work.linkText, work.linkMarkup, rewritten)) return kUrlNone;
  target.Assign(work.linkTarget);
  work.linkLength = work.linkText.GetLength();
  converted = 1;
  return type;
}

// ---- E-mail words ----

static bool HasLetterOrDigit(const TextString& text) { return !text.HasNoLettersOrDigits(); }

// Strips quotes and brackets around an address.
static void TrimEmailCandidate(TextString& candidate) {
  TrimEnds(candidate, {"\"(<[{", "\").>]}", false, false});
}

// The reasons an address is refused once it looked like one.
static bool IsRefusedAddress(FileControl& fc, const TextString& candidate, TextString& local,
                             TextString& domain) {
  const char first = candidate.CharAt(0);
  if (IsAsciiDigit(static_cast<unsigned char>(first)) &&
      fc.GetInt(PolicyId::AllowEmailBeginningWithNumbers) == 0)
    return true;
  if (first == '%' || PositionNoCase(candidate, "news:") >= 0) return true;
  const int at = FindFirstChar(candidate, '@');
  local.AssignBytes(candidate.GetText(), at);
  domain.Assign(candidate.GetText() + at + 1);
  if (local.IsEmpty() || !HasLetterOrDigit(local)) return true;
  if (domain.GetLength() <= 4 || !HasLetterOrDigit(domain) || !domain.ContainsChar('.'))
    return true;
  if (!candidate.ContainsNoneOf("/\\*^") || FindText(candidate, "..", 0, false) >= 0) return true;
  // An apostrophe may open or close the address, not stand inside it.
  const int length = candidate.GetLength();
  for (int i = 1; i < length - 2; ++i)
    if (candidate.CharAt(i) == '\'') return true;
  return false;
}

int PreHTML::TidyEmailWord(FileControl& fc, int& converted, TextString& rewritten,
                           Statement& target) {
  if (converted == 1) return kUrlNone;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return kUrlNone;
  const int format = ctx->GetOutputType();
  if (format == kOutputPlainText || CountChar('@') != 1) return kUrlNone;

  UrlWorkTexts& work = UrlWork();
  work.candidate.Assign(*this);
  if (CountChar('"') == 2) {
    const int open = FindFirstChar(*this, '"');
    const int close = FindLastChar(*this, '"');
    TextString quoted;
    quoted.AssignBytes(GetText() + open + 1, close - open - 1);
    if (quoted.CountChar('@') == 1) work.candidate.Assign(quoted);
  }
  TrimEmailCandidate(work.candidate);
  if (work.candidate.GetLength() <= 6) return kUrlNone;
  TextString mailto;
  if (const int at = PositionNoCase(work.candidate, "mailto:"); at >= 0) {
    mailto.AssignBytes(work.candidate.GetText() + at, 7);
    work.candidate.ReplaceSpan(at, 7, "");
  }
  RemoveFirst(work.candidate, "URL:");
  RemoveFirst(work.candidate, "Email:");
  if (work.candidate.CountChar('@') != 1) return kUrlNone;
  if (fc.GetInt(PolicyId::CreateMailtoLinks) == 0) return kUrlNone;
  if (IsRefusedAddress(fc, work.candidate, work.localPart, work.domainPart))
    return kUrlRefusedEmail;

  if (DetectUrls(kDetectEmailAddress, work.candidate, work.linkText,
                 format == kOutputHtml ? 1 : 0) == 0 ||
      work.linkText.GetLength() < 7 || work.linkText.CountChar('@') != 1)
    return kUrlRefusedEmail;
  const int at = FindFirstChar(work.linkText, '@');
  work.testedHost.Assign(work.linkText.GetText() + at + 1);
  int changed = 0;
  if (ctx->IsValidDomain(work.testedHost, 6, work.correctedHost, changed) == 0)
    return kUrlRefusedEmail;

  switch (format) {
    case kOutputHtml: {
      const bool quoted = work.linkText.ContainsChar('"');
      work.linkMarkup.Assign(quoted ? "<A HREF='mailto:" : "<A HREF=\"mailto:");
      work.linkMarkup.Append(work.linkText);
      work.linkMarkup.Append(quoted ? "'>" : "\">");
      work.linkMarkup.Append(work.linkText);
      work.linkMarkup.Append("</A>");
      break;
    }
    case kOutputRtf: {
      TextString mailTarget("mailto:");
      mailTarget.Append(work.linkText);
      BuildRtfAddressLink(fc, 3, mailTarget, work.linkText, work.linkMarkup);
      if (work.linkMarkup.IsEmpty()) return kUrlRefusedEmail;
      break;
    }
    case kOutputTextMarkersDropped: work.linkMarkup.Assign(work.linkText); break;
    default: ReportUnsupportedFormat(fc, "in TidyEmailWord"); return kUrlNone;
  }

  // The word as written, without the "mailto:" that stays visible in front of the link.
  TextString& written = work.wordCopy;
  written.Assign(*this);
  if (!mailto.IsEmpty()) RemoveFirst(written, mailto.GetText());
  const int linkAt = FindText(written, work.linkText.GetText(), 0, false);
  if (linkAt < 0) return kUrlRefusedEmail;
  rewritten.AssignBytes(written.GetText(), linkAt);
  rewritten.Append(mailto);
  rewritten.Append(work.linkMarkup);
  rewritten.Append(written.GetText() + linkAt + work.linkText.GetLength());

  work.linkTarget.Assign(work.linkText);
  if (changed != 0) {
    work.linkTarget.Truncate(at + 1);
    work.linkTarget.Append(work.correctedHost);
  }
  target.Assign(work.linkTarget);
  work.linkLength = work.linkText.GetLength();
  converted = 1;
  return kUrlEmail;
}

// ---- News-group words ----

static constexpr const char* kKnownHierarchies[] = {
    "alt.", "rec.", "sci.", "soc.", "comp.", "misc.", "news.", "humanities.",
};

// What the walk over a news-group-like word found.
struct GroupShape {
  bool valid = true;
  bool explicitPrefix = false;  // a valid "news:" or "snews:"
  bool secure = false;          // the prefix is "snews:"
  bool known = false;
  int count = 0;  // segments, plus one for a known hierarchy or prefix
  int shortest = -1;
  int longest = -1;
};

static bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), SameNoCase);
}

// The colons, commas and question marks a group name may hold, and its news prefix.
static void CheckGroupPunctuation(const TextString& word, GroupShape& shape) {
  const int length = word.GetLength();
  const char* text = word.GetText();
  if (IsAsciiDigit(static_cast<unsigned char>(text[0]))) shape.valid = false;
  for (int i = 0; i < length - 1 && shape.valid; ++i) {
    const char c = text[i];
    if (c == ',' || c == '?') shape.valid = false;
    if (c != ':') continue;
    const bool news = i >= 4 && StartsWithNoCase(std::string_view(text + i - 4, 5), "news:");
    if (!news || IsAsciiDigit(static_cast<unsigned char>(text[i + 1]))) {
      shape.valid = false;
      break;
    }
    shape.explicitPrefix = true;
    shape.secure = i >= 5 && FoldAscii(text[i - 5]) == 's';
  }
}

static bool IsKnownGroupStart(FileControl& fc, std::string_view word, GroupShape& shape) {
  if (StartsWithNoCase(word, "news:") || StartsWithNoCase(word, "snews:")) {
    ++shape.count;
    return true;
  }
  for (const char* hierarchy : kKnownHierarchies) {
    if (StartsWithNoCase(word, hierarchy)) {
      ++shape.count;
      return true;
    }
  }
  const StringList& groups = fc.GetUsenetGroups();
  if (groups.GetCount() == 0) return false;
  TextString first;
  first.AssignBytes(word.data(), static_cast<int>(word.substr(0, word.find('.')).size()));
  return groups.Find(first, nullptr);
}

static GroupShape ShapeOfGroup(FileControl& fc, const TextString& word) {
  GroupShape shape;
  CheckGroupPunctuation(word, shape);
  const int length = word.GetLength();
  const char* text = word.GetText();
  int segmentStart = 0;
  bool firstDot = true;
  for (int i = 0; i < length && shape.valid; ++i) {
    const char c = text[i];
    if (std::string_view("!*+/;<=>|").find(c) != std::string_view::npos) {
      shape.valid = false;
      break;
    }
    if (c != '.') continue;
    if (IsAsciiDigit(static_cast<unsigned char>(text[i + 1]))) {
      shape.valid = false;
      break;
    }
    const int segment = i - segmentStart;
    ++shape.count;
    if (shape.shortest < 0 || segment < shape.shortest) shape.shortest = segment;
    if (segment > shape.longest) shape.longest = segment;
    segmentStart = i + 1;
    if (!firstDot) continue;
    firstDot = false;
    if (length <= 7) continue;
    std::string_view start(text, static_cast<std::size_t>(length));
    if (start.front() == '"' || start.front() == '\'') start.remove_prefix(1);
    shape.known = IsKnownGroupStart(fc, start, shape);
  }
  ++shape.count;  // the last segment
  return shape;
}

int PreHTML::TidyUSENETWord(FileControl& fc, int& converted, TextString& rewritten,
                            Statement& target, TextString& refusedText) {
  if (converted == 1) return kUrlNone;
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return kUrlNone;
  const int format = ctx->GetOutputType();
  if (format == kOutputPlainText || GetLength() <= 4) return kUrlNone;
  if (fc.GetInt(PolicyId::CreateNEWSLinks) == 0 || !ContainsChar('.') || HasNoLowerCase())
    return kUrlNone;

  const GroupShape shape = ShapeOfGroup(fc, *this);
  const bool looksLikeGroup =
      shape.explicitPrefix ||
      (shape.count > 1 && shape.shortest > 1 && shape.longest > 2 && shape.valid);
  const bool accepted =
      looksLikeGroup &&
      (shape.explicitPrefix || shape.known ||
       (shape.count != 2 && fc.GetInt(PolicyId::OnlyUseKnownGroups) == 0));

  UrlWorkTexts& work = UrlWork();
  if (DetectUrls(kDetectNewsGroup, *this, work.linkText, format == kOutputHtml ? 1 : 0) == 0 ||
      work.linkText.IsEmpty())
    return kUrlNone;
  if (!accepted) {
    refusedText.Assign(work.linkText);
    return kUrlRefusedNews;
  }

  const char* prefix = shape.secure ? "snews:" : "news:";
  work.linkTarget.Assign(prefix);
  work.linkTarget.Append(work.linkText);
  // The text replaced in the word: the link text, with an explicit prefix written before it.
  int at = FindText(*this, work.linkText.GetText(), 0, false);
  if (at < 0) return kUrlNone;
  int span = work.linkText.GetLength();
  TextString visible(work.linkText);
  if (shape.explicitPrefix) {
    const int prefixLength = static_cast<int>(std::string_view(prefix).size());
    if (at >= prefixLength &&
        StartsWithNoCase(std::string_view(GetText() + at - prefixLength,
                                          static_cast<std::size_t>(prefixLength)),
                         prefix)) {
      at -= prefixLength;
      span += prefixLength;
    }
    visible.AssignBytes(GetText() + at, span);
  }

  switch (format) {
    case kOutputHtml:
      work.linkMarkup.Assign("<A HREF=\"");
      work.linkMarkup.Append(work.linkTarget);
      work.linkMarkup.Append("\">");
      work.linkMarkup.Append(visible);
      work.linkMarkup.Append("</A>");
      break;
    case kOutputRtf:
      BuildRtfAddressLink(fc, 4, work.linkTarget, visible, work.linkMarkup);
      if (work.linkMarkup.IsEmpty()) return kUrlNone;
      break;
    case kOutputTextMarkersDropped: work.linkMarkup.Assign(visible); break;
    default: ReportUnsupportedFormat(fc, "TidyUSENETWord"); return kUrlNone;
  }
  rewritten.AssignBytes(GetText(), at);
  rewritten.Append(work.linkMarkup);
  rewritten.Append(GetText() + at + span);
  target.Assign(work.linkTarget);
  work.linkLength = work.linkText.GetLength();
  converted = 1;
  return kUrlNews;
}

// ---- Overstrike ----

enum class Overstrike { None, UnderlineFirst, UnderlineAfter, Bold };

void PreHTML::TidyUnixWord(FileControl& fc, int& converted, TextString& rewritten,
                           int addMarkup) {
  if (converted == 1) return;
  const int format = OutputFormatOf(fc);
  if (format == kOutputPlainText || !ContainsChar(kBackspace)) return;
  const int length = GetLength();
  const char* text = GetText();
  int before = 0;
  int after = 0;
  int pairs = 0;
  for (int i = 0; i < length; ++i) {
    if (text[i] != kBackspace) continue;
    if (i > 0 && text[i - 1] == '_') ++before;
    if (i + 1 < length && text[i + 1] == '_') ++after;
    if (i > 0 && i + 1 < length && text[i - 1] == text[i + 1] && text[i - 1] != kBackspace)
      ++pairs;
  }
  const bool underline = fc.GetInt(PolicyId::LookForUnderlinedText) != 0;
  Overstrike kind = Overstrike::None;
  if (before > 0 && pairs < before && after < before) {
    if (!underline) return;
    kind = Overstrike::UnderlineFirst;
  } else if (after > 0 && pairs < after) {
    if (!underline) return;
    kind = Overstrike::UnderlineAfter;
  } else if (pairs >= 1) {
    kind = Overstrike::Bold;
  } else {
    return;
  }

  // One character of each character-backspace-character run stays.
  const bool keepAfter = kind == Overstrike::UnderlineFirst && pairs == 0;
  UrlWorkTexts& work = UrlWork();
  TextString& plain = work.plain;
  plain.SetEmpty();
  for (int i = 0; i < length;) {
    if (text[i] == kBackspace) {
      ++i;  // a backspace with nothing to strike over
      continue;
    }
    if (i + 2 < length && text[i + 1] == kBackspace) {
      int last = i + 2;
      // Struck more than twice: the run goes on while backspaces follow.
      while (last + 2 < length && text[last + 1] == kBackspace) last += 2;
      plain.AppendChar(keepAfter ? text[last] : text[i]);
      i = last + 1;
      continue;
    }
    plain.AppendChar(text[i]);
    ++i;
  }

  if (addMarkup == 0) {
    rewritten.Assign(plain);
    converted = 1;
    return;
  }
  const bool bold = kind == Overstrike::Bold;
  switch (format) {
    case kOutputRtf:
      rewritten.Assign(bold ? "{\\b " : "{\\ul ");
      rewritten.Append(plain);
      rewritten.Append(bold ? "\\b0}" : "\\ul0}");
      break;
    case kOutputHtml:
      rewritten.Assign(bold ? fc.GetBoldOpenTag() : TextString("<U>"));
      rewritten.Append(plain);
      rewritten.Append(bold ? fc.GetBoldCloseTag() : TextString("</U>"));
      break;
    case kOutputTextMarkersDropped: rewritten.Assign(plain); break;
    default: ReportUnsupportedFormat(fc, "in TidyUnixWord"); return;
  }
  converted = 1;
}

// ---- Reports ----

void PreHTML::ReportUrlDecision(FileControl& fc, Context& /*ctx*/, int& urlType, int quiet,
                                const TextString& word) {
  TextString message;
  int level = 7;
  switch (urlType) {
    case kUrlDottedFtpSite:
      message.Assign("INFO: Treating \"");
      message.Append(word);
      message.Append("\" as an ftp:// link");
      level = 3;
      break;
    case kUrlRefusedWww:
      if (quiet != 0) return;
      message.Assign("INFO: Ignoring potential www URL \"");
      break;
    case kUrlRefusedEmail: message.Assign("INFO: Ignoring potential email URL \""); break;
    case kUrlRefusedFtp: message.Assign("INFO: Ignoring potential ftp URL \""); break;
    case kUrlRefusedGopher: message.Assign("INFO: Ignoring potential gopher URL \""); break;
    case kUrlRefusedTelnet: message.Assign("INFO: Ignoring potential Telnet URL \""); break;
    case kUrlRefusedNews:
      // Program and archive names look like group names.
      if (PositionNoCase(word, ".dll") >= 0 || PositionNoCase(word, ".exe") >= 0 ||
          PositionNoCase(word, ".gz") >= 0)
        return;
      message.Assign("INFO: Ignoring \"newsgroup\" ");
      message.Append(word);
      level = 3;
      break;
    default:
      if (urlType <= kUrlRefusedNews) return;
      message.Assign("UNSUPPORTED CASE: URLType ");
      message.AppendNumber('1', urlType, 0);
      fc.ReportMessage(message.GetText(), 10);
      return;
  }
  if (urlType >= kUrlRefusedWww && urlType <= kUrlRefusedTelnet) {
    message.Append(word);
    message.AppendChar('"');
  }
  fc.ReportMessage(message.GetText(), level);
}

// ---- The line walk ----

// The label of the "URL: " report of a link type.
static const char* UrlLabel(int type) {
  switch (type) {
    case kUrlEmail: return "(email) ";
    case kUrlGopher:
    case kUrlGopherSite: return "(Gopher) ";
    case kUrlTelnet:
    case kUrlTelnetSite: return "(Telnet) ";
    case kUrlNews: return "(Newsgroup) ";
    case kUrlFtp:
    case kUrlFtpSite:
    case kUrlDottedFtpSite: return "(FTP) ";
    default: return "";
  }
}

// The parts of the line the walk steps over: the protected spans and, for HTML with
// skipAngleText, the text between "<" and ">". Each kind remembers where it next occurs, so
// the walk stays one pass over the line.
class SkippedSpans {
 public:
  SkippedSpans(const TextString& text, FileControl& fc, bool angles)
      : text_(text), spans_(text, fc.GetText(PolicyId::StartTagDelimiter),
                            fc.GetText(PolicyId::EndTagDelimiter)),
        angles_(angles) {}

  // The first span that starts at or after from ([start, end)); start is the text's length
  // when there is none.
  void Next(int from, int& start, int& end) {
    const int length = text_.GetLength();
    start = length;
    end = length;
    if (spanStart_ != -1 && spanStart_ < from) spanStart_ = -2;
    if (spanStart_ == -2 && !spans_.Next(from, spanStart_, spanEnd_)) spanStart_ = -1;
    if (spanStart_ >= 0) {
      start = spanStart_;
      end = spanEnd_;
    }
    if (!angles_) return;
    if (angleStart_ != -1 && angleStart_ < from) {
      angleStart_ = -1;
      if (!text_.FindChar(from, '<', &angleStart_, 1)) angleStart_ = length;
      int close = -1;
      angleEnd_ = text_.FindChar(angleStart_, '>', &close, 1) ? close + 1 : length;
    }
    if (angleStart_ >= 0 && angleStart_ < start) {
      start = angleStart_;
      end = angleEnd_;
    }
  }

 private:
  const TextString& text_;
  ProtectedSpanFinder spans_;
  bool angles_;
  int spanStart_ = -2;  // -2: to be searched, -1: none left
  int spanEnd_ = 0;
  int angleStart_ = -2;
  int angleEnd_ = 0;
};

// The length of the separator at pos, 0 when the byte there is none.
static int SeparatorLength(const TextString& text, int pos, bool blanksOnly) {
  const char c = text.CharAt(pos);
  if (IsBlankByte(c)) return 1;
  if (blanksOnly) return 0;
  if (c == ',' || c == ';' || c == '<' || c == '>') return 1;
  if (c != '&' || text.GetLength() - pos < 4) return 0;
  const std::string_view entity(text.GetText() + pos, 4);
  return entity == "&lt;" || entity == "&gt;" ? 4 : 0;
}

// Whether a separator may start at a byte: a cheap test that spares most bytes of a word the
// full one.
static bool MaySeparate(unsigned char c, bool blanksOnly) {
  static constexpr auto kStarts = [] {
    std::array<unsigned char, 256> starts{};
    starts[' '] = starts['\t'] = 3;
    starts[','] = starts[';'] = starts['<'] = starts['>'] = starts['&'] = 2;
    return starts;
  }();
  return (kStarts[c] & (blanksOnly ? 1 : 2)) != 0;
}

// Whether a word holds a byte that any of the word conversions looks for: a dot or slash
// (addresses, news groups), an at sign (mail) or a backspace (overstruck text). A word without
// one is left as it is.
static bool MayConvert(const char* word, int length) {
  for (int i = 0; i < length; ++i) {
    const char c = word[i];
    if (c == '.' || c == '/' || c == '@' || c == kBackspace) return true;
  }
  return false;
}

static bool HasDotOrSlashes(const TextString& word) {
  const std::string_view text(word.GetText(), static_cast<std::size_t>(word.GetLength()));
  int slashes = 0;
  for (const char c : text) {
    if (c == '.')
      return true;
    slashes += c == '/' ? 1 : 0;
  }
  return slashes > 2;
}

// Step 8 of the walk for HTML: lines with links are marked.
static bool HoldsLinkTo(const TextString& text, bool withMailto) {
  static constexpr const char* kSchemes[] = {"\"http:", "\"https:", "\"ftp:", "\"news:",
                                             "\"snews:", "\"mailto:"};
  const int count = withMailto ? static_cast<int>(std::size(kSchemes))
                               : static_cast<int>(std::size(kSchemes)) - 1;
  for (int i = 0; i < count; ++i)
    if (PositionNoCase(text, kSchemes[i]) >= 0) return true;
  return false;
}

// A later detector's answer replaces an earlier one when it made a link or nothing was
// decided yet: the first refusal is the one reported.
static void KeepDecision(int& urlType, int type) {
  if (type != kUrlNone && (urlType == kUrlNone || type < kUrlRefusedWww)) urlType = type;
}

void PreHTML::DoOutputWordConversions(FileControl& fc, Context& ctx, int blanksOnly,
                                      int skipAngleText) {
  const int format = ctx.GetOutputType();
  if (format == kOutputPlainText || ctx.OutputPass == 0) return;
  if (IsContentsHeadingType(GetLineType())) return;
  if (GetLength() == 0) return;

  PreHTML& word = WordObjectOf(ctx);
  UrlWorkTexts& work = word.UrlWork();
  const bool anyWebLinks = fc.GetInt(PolicyId::CreateHyperlinks) != 0 ||
                           fc.GetInt(PolicyId::CreateFTPLinks) != 0 ||
                           fc.GetInt(PolicyId::CreateGopherLinks) != 0 ||
                           fc.GetInt(PolicyId::CreateTelnetLinks) != 0;
  const bool mailto = fc.GetInt(PolicyId::CreateMailtoLinks) != 0;
  const bool angles = format == kOutputHtml && skipAngleText != 0 && ContainsChar('<');

  // The line is rebuilt into a new text: the spans stay where they were found in the line as
  // it came, so a longer or shorter replacement never moves or splits a later one.
  TextString& out = work.lineOut;
  out.SetEmpty();
  SkippedSpans skipped(*this, fc, angles);
  const int length = GetLength();
  int copied = 0;
  int overstruck = 0;
  int spanStart = 0;
  int spanEnd = 0;
  // A line without a byte any conversion looks for keeps every word: it is not walked.
  const bool walk = MayConvert(GetText(), length);
  if (walk) skipped.Next(0, spanStart, spanEnd);
  for (int pos = walk ? 0 : length; pos < length;) {
    if (pos >= spanStart) {
      pos = std::max(spanEnd, pos + 1);
      skipped.Next(pos, spanStart, spanEnd);
      continue;
    }
    if (const int separator = MaySeparate(static_cast<unsigned char>(GetText()[pos]), blanksOnly != 0)
                                  ? SeparatorLength(*this, pos, blanksOnly != 0)
                                  : 0;
        separator > 0) {
      pos += separator;
      continue;
    }
    const char* const text = GetText();
    const int limit = std::min(length, spanStart);
    int end = pos;
    while (end < limit && !(MaySeparate(static_cast<unsigned char>(text[end]), blanksOnly != 0) &&
                            SeparatorLength(*this, end, blanksOnly != 0) > 0))
      ++end;
    const int wordStart = pos;
    pos = end;
    if (end - wordStart <= 4 || !MayConvert(text + wordStart, end - wordStart)) continue;

    word.AssignBytes(GetText() + wordStart, end - wordStart);
    int converted = 0;
    int urlType = kUrlNone;
    const bool dotted = HasDotOrSlashes(word);
    if (dotted && anyWebLinks)
      urlType = word.TidyHTTPWord(fc, converted, work.rewritten, work.target);
    work.refused.SetEmpty();
    // Whether the word holds one '@', once counted and while no detector has had the word.
    int oneAt = -1;
    if (blanksOnly == 0) {
      word.TidyUnixWord(fc, converted, work.rewritten, 1);
      if (converted != 0) ++overstruck;
      if (converted == 0 && mailto) {
        oneAt = word.CountChar('@') == 1 ? 1 : 0;
        if (oneAt != 0) {
          KeepDecision(urlType, word.TidyEmailWord(fc, converted, work.rewritten, work.target));
          oneAt = -1;
        }
      }
      if (dotted && converted == 0)
        KeepDecision(urlType, word.TidyUSENETWord(fc, converted, work.rewritten, work.target,
                                                  work.refused));
    }
    if (dotted || (oneAt >= 0 ? oneAt != 0 : word.CountChar('@') == 1)) {
      // The refused news-group report names the text that would have been linked.
      const TextString& reported = urlType == kUrlRefusedNews ? work.refused : word;
      word.ReportUrlDecision(fc, ctx, urlType, blanksOnly, reported);
    }
    if (converted == 0) continue;

    if (urlType > kUrlNone && urlType < kUrlRefusedWww) {
      ctx.LinksFound.Append(work.target.GetText());
      work.message.Assign("URL: ");
      work.message.Append(UrlLabel(urlType));
      work.message.AppendChar('"');
      work.message.Append(work.target);
      work.message.AppendChar('"');
      ReportLineMessage(ctx, work.message.GetText(), 10);
    }
    work.candidate.AssignBytes(GetText() + copied, wordStart - copied);
    out.Append(work.candidate);
    out.Append(work.rewritten);
    copied = end;
  }
  if (copied > 0) {
    work.candidate.Assign(GetText() + copied);
    out.Append(work.candidate);
    Assign(out);
  }

  if (format == kOutputHtml && ContainsChar(':') && PositionNoCase(*this, "HREF=") >= 0) {
    if (HoldsLinkTo(*this, true)) SetFlag(kFlagUrl, true);
    if (fc.GetInt(PolicyId::AddBRToLinesWithURLs) != 0 && HoldsLinkTo(*this, false))
      SetFlag(kFlagParagraphEnd, true);
  }
  if (overstruck <= 1) return;
  // Neighbouring overstruck words become one run of markup.
  switch (format) {
    case kOutputRtf:
      ReplaceAll("\\ul0} {\\ul ", " ", 0, 1);
      ReplaceAll("\\b0} {\\b ", " ", 0, 1);
      break;
    case kOutputHtml:
      ReplaceAll("</U> <U>", " ", 0, 1);
      ReplaceAll("</B> <B>", " ", 0, 1);
      ReplaceAll("</STRONG> <STRONG>", " ", 0, 1);
      break;
    case kOutputTextMarkersDropped: break;
    default:
      fc.ReportMessage("UNSUPPORTED CASE: Output Format in DoOutputWordConversions (2)", 10);
      break;
  }
}
