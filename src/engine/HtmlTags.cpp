#include "engine/HtmlTags.h"

#include <cstring>
#include <iterator>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/LinkText.h"
#include "engine/Context.h"
#include "engine/EntityTable.h"
#include "engine/HtmlTagDictionary.h"
#include "engine/TagDetector.h"
#include "policy/ConversionOptions.h"
#include "policy/ErrorHandler.h"
#include "text/JReplaceParser.h"

// ---- Known tag names ----

static constexpr const char* kHtmlTagNames[] = {
    "!doctype", "!element", "a", "abbr", "acronym", "address", "applet", "area", "b", "base",
    "basefont", "bdo", "big", "blockquote", "body", "br", "button", "caption", "center", "cite",
    "code", "col", "colgroup", "dd", "del", "dfn", "dir", "div", "dl", "dt", "em", "fieldset",
    "font", "form", "frame", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr",
    "html", "i", "iframe", "img", "input", "ins", "isindex", "kbd", "label", "legend", "li",
    "link", "listing", "map", "menu", "meta", "noframes", "noscript", "object", "ol",
    "optgroup", "option", "p", "plaintext", "pre", "q", "s", "samp", "script", "select",
    "small", "span", "strike", "strong", "style", "sub", "sup", "table", "tbody", "td",
    "textarea", "tfoot", "th", "thead", "title", "tr", "tt", "u", "ul", "var", "xmp", "blink",
    "keygen", "multicol", "param", "server", "wbr", "spacer", "ilayer", "layer", "nolayer",
    "banner", "bgsound", "comment", "embed", "hn", "marquee", "nobr", "noembed", "rt", "ruby",
    "audioscope", "blackface", "bq", "fn", "limittext", "nosmartquote", "shadow",
};
static_assert(std::size(kHtmlTagNames) == 122);

static constexpr const char* kMailTagNames[] = {"x-html", "x-sigsep", "x-tab"};

static constexpr const char* kOfficeTagNames[] = {
    "xml", "o:Company", "o:Lines", "o:Lock", "o:Paragraphs", "o:CharactersWithSpaces",
    "o:Version", "o:LastPrinted", "o:Characters", "o:DocumentProperties", "o:Author",
    "o:Template", "o:LastAuthor", "o:p", "o:Revision", "o:TotalTime", "o:Created",
    "o:LastSaved", "o:Pages", "o:Words", "w:WordDocument", "w:BrowserLevel",
    "w:Compatibility", "w:FootnoteLayoutLikeWW8", "w:ShapeLayoutLikeWW8",
    "w:AlignTablesRowByRow", "w:ForgetLastTabAlignment", "w:LayoutRawTableWidth",
    "w:LayoutTableRowsApart", "v:f", "v:formulas", "v:stroke", "v:shapetype", "v:path",
    "v:imagedata", "v:shape", "!--[if", "![endif]--", "![if", "![endif]",
};
static_assert(std::size(kOfficeTagNames) == 40);

// Tags that XHTML writes as empty elements ("<br />").
static constexpr std::string_view kEmptyElements[] = {
    "br", "area", "base", "basefont", "input", "link", "img", "meta", "param", "hr",
};

static constexpr std::string_view kTableTags[] = {
    "table", "tbody", "thead", "tfoot", "tr", "th", "td",
};

// A tag this many characters long or longer, in a text this long or longer, is removed where
// it stands rather than everywhere at once.
static constexpr int kLongTag = 35;
static constexpr int kLongText = 1000000;
static constexpr int kDiscardLevel = 8;

// Attribute classes besides the dictionary's answers: a table attribute that the options
// discard.
static constexpr int kAttributeDiscarded = 2;

static void FillNames(NameIndex& index, std::span<const char* const> names) {
  for (const char* name : names)
    index.Insert(name);
  // The empty name counts as known: "<>" and "</>" are taken for HTML tags.
  index.Insert("");
}

static void PrepareDetector(TagDetector& detector) {
  if (detector.htmlTags.GetCount() == 0) {
    FillNames(detector.htmlTags, kHtmlTagNames);
    FillNames(detector.mailTags, kMailTagNames);
    FillNames(detector.officeTags, kOfficeTagNames);
  }
  if (!detector.dictionary) {
    detector.dictionary = std::make_unique<HtmlTagDictionary>();
    detector.dictionary->Build(kHtmlFlavour4);
  }
}

// ---- Small text tests ----

static bool IsWordEnd(char c) { return c == ' ' || c == '\n' || c == '\t'; }

static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text up to its first blank, newline or tab.
static void FirstWord(const TextString& text, TextString& word) {
  int end = 0;
  while (end < text.GetLength() && !IsWordEnd(text.CharAt(end)))
    ++end;
  word.AssignBytes(text.GetText(), end);
}

// A first word that can only be a tag name: "<", "/", "_", letters and ">".
static bool LooksLikeTagWord(const TextString& word) {
  for (int i = 0; i < word.GetLength(); ++i) {
    const char c = word.CharAt(i);
    if (c != '<' && c != '/' && c != '_' && c != '>' && !IsAsciiLetter(c))
      return false;
  }
  return true;
}

// An e-mail address or a URL in angle brackets: no blank, longer than 7, and one "@" with a
// "." or more than one "." with "://".
static bool IsAddressInBrackets(const TextString& candidate) {
  if (candidate.ContainsChar(' ') || candidate.GetLength() <= 7)
    return false;
  const int dots = candidate.CountChar('.');
  if (candidate.CountChar('@') == 1 && dots >= 1)
    return true;
  int at = -1;
  return dots > 1 && candidate.Find(0, "://", &at, 1, 0);
}

static char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The name is one of names (lower case), ASCII case ignored.
static bool IsOneOf(const TextString& name, std::span<const std::string_view> names) {
  for (const std::string_view known : names) {
    if (name.GetLength() != static_cast<int>(known.size()))
      continue;
    bool same = true;
    for (std::size_t i = 0; same && i < known.size(); ++i)
      same = FoldCase(name.CharAt(static_cast<int>(i))) == known[i];
    if (same)
      return true;
  }
  return false;
}

// ---- The match callback ----

// Continues the quote check of the pending tag up to end (inclusive).
static void CheckQuotes(TagMatchState& scan, const ParseBuffer& text, int end) {
  const char* bytes = text.GetText();
  for (int i = scan.checkedTo + 1; i <= end; ++i) {
    const char c = bytes[i];
    if (c == '"' && !scan.inSingle)
      scan.inDouble = !scan.inDouble;
    else if (c == '\'' && !scan.inDouble)
      scan.inSingle = !scan.inSingle;
    else if ((c == '<' || c == '>') && !scan.inDouble && !scan.inSingle)
      ++scan.bracketsOutsideQuotes;
  }
  scan.checkedTo = end;
}

static void ClearPending(TagMatchState& scan) {
  scan.pending = -1;
  scan.checkedTo = -1;
  scan.inDouble = scan.inSingle = false;
  scan.bracketsOutsideQuotes = 0;
}

static void NotePending(TagMatchState& scan, int at) {
  ClearPending(scan);
  scan.pending = at;
  scan.checkedTo = at - 1;
}

// The name a tag is known by in mode 6: from its first word the first "</" is removed when
// the word holds a "/" (else, or when it has no "</", the first "<"), then the first ">", and
// the rest is cut before its first "/".
static void ListName(const TextString& firstWord, TextString& name) {
  name = firstWord;
  int at = -1;
  if (name.ContainsChar('/') && name.Find(0, "</", &at, 1, 0))
    name.ReplaceSpan(at, 2, "");
  else if (name.FindChar(0, '<', &at, 1))
    name.ReplaceSpan(at, 1, "");
  if (name.FindChar(0, '>', &at, 1))
    name.ReplaceSpan(at, 1, "");
  if (name.FindChar(0, '/', &at, 1))
    name.Truncate(at);
}

// In mode 6: whether the tag's name is known, and then whether it goes.
static bool KnownInMode6(TagMatchState& scan, const TextString& firstWord, bool& remove) {
  TextString name;
  ListName(firstWord, name);
  TagDetector& detector = scan.detector;
  const ConversionOptions& options = scan.options;
  if (detector.htmlTags.Find(name.GetText()) >= 0) {
    remove = options.removeAllHtmlTags != 0;
    return true;
  }
  if (detector.mailTags.Find(name.GetText()) >= 0) {
    remove = options.removeMailXTags != 0;
    return true;
  }
  if (detector.officeTags.Find(name.GetText()) >= 0) {
    remove = options.removeOfficeTags != 0;
    return true;
  }
  // Comments: a name that opens one ("<!--") or closes one ("-->").
  if (name.StartsWith("!--", 1) || name.EndsWith("--", 1)) {
    remove = options.removeComments != 0;
    return true;
  }
  return false;
}

// Any setting that makes a kept tag go through CleanHtmlTag.
static bool CleansTags(const ConversionOptions& o) {
  return o.removeNonStandardTags || o.removeNonStandardAttributes || o.removeStyleSheet ||
         o.removeOfficeTags || o.removeTableParagraphTags || o.removeTableAlignment ||
         o.removeTableColours || o.removeTableSizes || o.tagsToUpperCase || o.tagsToLowerCase ||
         o.xhtmlCompatibleTags;
}

// The tag goes, and with it every identical tag further on. Each sweep copies the
// text, so sweeps are paid from a budget proportional to the text: many distinct tags in a
// long text then cost linear work, not text x tags. Past the budget a tag goes where it
// stands (identical ones then go as the scan reaches them).
static int RemoveTag(TagMatchState& scan, const ParseBuffer& text, int start, int& position) {
  JReplaceParser& parser = scan.parser;
  const int length = scan.candidate.GetLength();
  // A sweep copies the whole work text.
  const long long sweep = text.GetLength();
  const bool sweepAll = !(length >= kLongTag && text.GetLength() >= kLongText) &&
                        sweep <= scan.sweepBudget &&
                        static_cast<int>(std::strlen(scan.candidate.GetText())) == length;
  if (sweepAll) {
    scan.sweepBudget -= sweep;
    (void)parser.ReplaceSpan(start, 0, nullptr);
    if (parser.RemoveLiteral(scan.candidate.GetText()) > 0) {
      // The text after the tag now starts where the tag did: scanning goes on there.
      position = start - 1;
      return kJTextChanged;
    }
  }
  // Passing over the span leaves the work text as it is; scanning goes on after the span.
  (void)parser.ReplaceSpan(start, length, nullptr);
  return kJTextChanged;
}

int OnTagMatch(JParser& /*parser*/, JPattern& /*pattern*/, JMatchState& state,
               ParseBuffer& text, int& position, void* userData) {
  auto& scan = *static_cast<TagMatchState*>(userData);
  const int length = text.GetLength();
  if (state.start < 0 || state.end < 0 || state.end < state.start || state.start >= length ||
      state.end >= length)
    return kJNothingDone;
  const char matched = text.GetText()[state.start];
  if (matched == '<') {
    // A later "<" does not move a pending one.
    if (scan.pending < 0)
      NotePending(scan, state.start);
    return kJNothingDone;
  }
  if (scan.pending < 0 || scan.pending > state.end)
    return kJNothingDone;
  const int start = scan.pending;
  CheckQuotes(scan, text, state.end);
  // A quoted value may hold ">": the tag goes on to a later one. Nothing is copied before
  // this test, so a quote that never closes costs no more than one pass over the text.
  const bool quoteOpen = scan.inDouble || scan.inSingle;
  if (quoteOpen && scan.bracketsOutsideQuotes < 3)
    return kJNothingDone;
  TextString& candidate = scan.candidate;
  candidate.AssignBytes(text.GetText() + start, state.end - start + 1);
  TextString firstWord;
  FirstWord(candidate, firstWord);
  if (quoteOpen && LooksLikeTagWord(firstWord)) {
    TextString message("WARNING: Ambiguous quote/brackets in tag - ");
    message.Append(candidate);
    scan.reporter.Report(message.GetText(), kDiscardLevel);
  }
  ClearPending(scan);

  const ConversionOptions& options = scan.options;
  bool remove = options.conversionMode == kConversionModeText || options.removeAllTags != 0;
  if (remove && scan.keepUrls == 0 && IsAddressInBrackets(candidate))
    return kJRejectMatch;
  if (firstWord.Compare("<", 1, 0) || firstWord.StartsWith("<=", 1) ||
      firstWord.StartsWith("<<", 1))
    return kJRejectMatch;
  if (options.conversionMode == kConversionModeDetag && !KnownInMode6(scan, firstWord, remove))
    remove = false;
  if (remove)
    return RemoveTag(scan, text, start, position);

  // A tag that stays: passed as it is, or cleaned.
  if (candidate.CharAt(1) == ' ')
    return kJRejectMatch;
  if (!CleansTags(options))
    return kJTextChanged;
  if (CleanHtmlTag(scan.detector, options, *scan.detector.dictionary, scan.discards, candidate,
                   scan.cleaned) == 0)
    return kJRejectMatch;
  const char* replacement = options.removeAllTags != 0 ? nullptr : scan.cleaned.GetText();
  (void)scan.parser.ReplaceSpan(start, candidate.GetLength(), replacement);
  return kJTextChanged;
}

// ---- Cleaning one tag ----

namespace {

// One attribute of a tag as read.
struct TagAttribute {
  TextString space;  // the white space before it
  TextString name;
  TextString value;  // as read, quotes included
  bool hasValue = false;
};

// A tag taken apart.
struct ParsedTag {
  TextString name;
  std::vector<TagAttribute> attributes;
  bool keepAsIs = false;  // a comment or a document type
};

}  // namespace

static bool IsNameEnd(char c) { return c == ' ' || c == '\r' || c == '\n'; }

static bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

static bool IsQuote(char c) { return c == '"' || c == '\''; }

// Reads the attribute value at i (an "=" and blanks already passed).
static void ReadValue(const TextString& tag, int& i, int end, bool quoteValues,
                      TextString& value) {
  value.SetEmpty();
  const char open = tag.CharAt(i);
  if (i < end && IsQuote(open)) {
    value.AppendChar(open);
    for (++i; i < end; ++i) {
      value.AppendChar(tag.CharAt(i));
      if (tag.CharAt(i) == open) {
        ++i;
        break;
      }
    }
    return;
  }
  for (; i < end && !IsWhiteSpace(tag.CharAt(i)); ++i) {
    if (!IsQuote(tag.CharAt(i)))
      value.AppendChar(tag.CharAt(i));
  }
  if (quoteValues && !value.IsEmpty()) {
    value.Insert(0, "\"");
    value.AppendChar('"');
  }
}

// Parses the tag up to (not including) its last character.
static void ParseTag(const TextString& tag, bool quoteValues, ParsedTag& parsed) {
  const int end = tag.GetLength() - 1;
  int i = 0;
  (void)tag.FindChar(0, '<', &i, 1);
  i = i < 0 ? end : i + 1;
  const int nameStart = i;
  // A "/" after the first character ends the name: "<br/>" is a br tag closed at once.
  while (i < end && !IsNameEnd(tag.CharAt(i)) && !(tag.CharAt(i) == '/' && i > nameStart))
    ++i;
  parsed.name.AssignBytes(tag.GetText() + nameStart, i - nameStart);
  if (parsed.name.StartsWith("!--", 1) || parsed.name.Compare("!DOCTYPE", 0, 0)) {
    parsed.keepAsIs = true;
    return;
  }
  while (i < end) {
    TagAttribute attribute;
    const int spaceStart = i;
    while (i < end && IsWhiteSpace(tag.CharAt(i)))
      ++i;
    if (i >= end)
      break;
    attribute.space.AssignBytes(tag.GetText() + spaceStart, i - spaceStart);
    const int nameAt = i;
    while (i < end && !IsWhiteSpace(tag.CharAt(i)) && tag.CharAt(i) != '=')
      ++i;
    attribute.name.AssignBytes(tag.GetText() + nameAt, i - nameAt);
    int after = i;
    while (after < end && tag.CharAt(after) == ' ')
      ++after;
    if (after < end && tag.CharAt(after) == '=') {
      i = after + 1;
      while (i < end && tag.CharAt(i) == ' ')
        ++i;
      attribute.hasValue = true;
      ReadValue(tag, i, end, quoteValues, attribute.value);
    }
    parsed.attributes.push_back(std::move(attribute));
  }
}

static void AppendDiscard(StringList& discards, const char* prefix, const TextString& what) {
  TextString message(prefix);
  message.Append(what);
  discards.Append(message.GetText());
}

// "TAG/ATTRIBUTE" in upper case.
static TextString TagSlashAttribute(const TextString& tag, const TextString& attribute) {
  TextString text(tag);
  text.AppendChar('/');
  text.Append(attribute);
  text.ToUpper();
  return text;
}

static void ApplyCase(const ConversionOptions& options, TextString& text) {
  if (options.tagsToLowerCase || options.xhtmlCompatibleTags)
    text.ToLower();
  else if (options.tagsToUpperCase)
    text.ToUpper();
}

static bool NameIsNumber(const TextString& name) { return IsDigit(name.CharAt(0)) && name.IsNumber(); }

// The class of a table attribute that the table options discard, else allowed.
static int TableAttributeClass(const ConversionOptions& options, const TextString& attribute) {
  static constexpr std::string_view kSizes[] = {"width",       "hspace",      "vspace",
                                                "cellspacing", "cellpadding", "height"};
  static constexpr std::string_view kAlignments[] = {"align", "valign"};
  static constexpr std::string_view kColours[] = {"bgcolor", "bordercolorlight",
                                                  "bordercolourdark"};
  if ((options.removeTableSizes && IsOneOf(attribute, kSizes)) ||
      (options.removeTableAlignment && IsOneOf(attribute, kAlignments)) ||
      (options.removeTableColours && IsOneOf(attribute, kColours)))
    return kAttributeDiscarded;
  return kHtmlAttributeAllowed;
}

// The rebuilt form of a kept attribute.
static void AppendAttribute(const ConversionOptions& options, const TagAttribute& attribute,
                            TextString& out) {
  if (attribute.space.IsEmpty())
    out.AppendChar(' ');
  else
    out.Append(attribute.space);
  TextString name(attribute.name);
  ApplyCase(options, name);
  out.Append(name);
  if (!attribute.hasValue) {
    // "/" closes an empty element; it takes no value.
    if (options.xhtmlCompatibleTags && !attribute.name.Compare("/", 1, 0))
      out.Append("=\"\"");
    return;
  }
  out.AppendChar('=');
  const TextString& value = attribute.value;
  if (!value.IsEmpty() && IsQuote(value.CharAt(0))) {
    out.Append(value);
    return;
  }
  const bool doubleQuote = value.ContainsChar('"');
  const bool singleQuote = value.ContainsChar('\'');
  if (doubleQuote && singleQuote) {
    out.Append(value);
    return;
  }
  const char quote = doubleQuote ? '\'' : '"';
  out.AppendChar(quote);
  out.Append(value);
  out.AppendChar(quote);
}

int CleanHtmlTag(TagDetector& detector, const ConversionOptions& options,
                 HtmlTagDictionary& dictionary, StringList& discards, const TextString& tag,
                 TextString& out) {
  out.SetEmpty();
  ParsedTag parsed;
  ParseTag(tag, detector.quoteAttributeValues != 0, parsed);
  const TextString& name = parsed.name;
  if (parsed.keepAsIs || (detector.numbersAreNotTags && NameIsNumber(name)))
    return 0;
  int kind = dictionary.ClassifyTag(name);
  if (kind == kHtmlTagDeclaration)
    return 0;
  const bool xhtml = options.xhtmlCompatibleTags != 0;
  if (kind == kHtmlTagDeprecated && !options.removeNonStandardTags && !xhtml)
    kind = kHtmlTagStandard;

  if (kind == kHtmlTagDeprecated) {
    TextString upper(name);
    upper.ToUpper();
    if (!options.keepDeprecatedTags || xhtml) {
      AppendDiscard(discards, "INFO: Removing deprecated tag ", upper);
      return 1;
    }
    AppendDiscard(discards, "WARNING: Deprecated tag detected ", name);
  }
  if ((kind == kHtmlTagUnknown || kind == kHtmlTagExtension) && options.removeAllNonHtmlTags) {
    AppendDiscard(discards, "INFO: Removing unknown tag ", name);
    return 1;
  }
  if (kind == kHtmlTagStandard && name.ContainsChar(':') && options.removeOfficeTags) {
    AppendDiscard(discards, "INFO: Removing unknown tag ", name);
    return 1;
  }

  out.AppendChar('<');
  TextString casedName(name);
  ApplyCase(options, casedName);
  out.Append(casedName);

  const bool tableTag = IsOneOf(name, kTableTags);
  const bool checkAttributes = options.removeNonStandardAttributes || xhtml;
  for (const TagAttribute& attribute : parsed.attributes) {
    const TextString& attributeName = attribute.name;
    int attributeClass =
        tableTag ? TableAttributeClass(options, attributeName) : kHtmlAttributeAllowed;
    if (attributeClass != kAttributeDiscarded && checkAttributes) {
      attributeClass = dictionary.CheckAttribute(name, attributeName);
      const bool keepOdd = options.keepDeprecatedAttributes && !xhtml;
      if (keepOdd && attributeClass == kHtmlAttributeDeprecated) {
        AppendDiscard(discards, "WARNING: Deprecated attribute detected ",
                      TagSlashAttribute(name, attributeName));
        attributeClass = kHtmlAttributeAllowed;
      } else if (keepOdd && attributeClass == kHtmlAttributeExtension) {
        AppendDiscard(discards, "WARNING: Extended attribute detected ",
                      TagSlashAttribute(name, attributeName));
        attributeClass = kHtmlAttributeAllowed;
      }
    }
    const bool dropOdd =
        kind != kHtmlTagUnknown ||
        (options.removeAllHtmlTags && !attributeName.Compare("/", 1, 0));
    if (attributeClass != kHtmlAttributeAllowed && dropOdd) {
      const char* prefix = attributeClass == kHtmlAttributeDeprecated ? "INFO: Removing deprecated tag/attr "
                           : attributeClass == kAttributeDiscarded   ? "INFO: Discarding tag/attr "
                                                                     : "INFO: Removing unknown tag/attr ";
      AppendDiscard(discards, prefix, TagSlashAttribute(name, attributeName));
      continue;
    }
    if (attributeName.ContainsChar(':') && options.removeOfficeTags) {
      AppendDiscard(discards, "INFO: Removing unknown tag/attr ",
                    TagSlashAttribute(name, attributeName));
      continue;
    }
    if (options.removeStyleSheet && (attributeName.Compare("id", 0, 0) ||
                                     attributeName.Compare("style", 0, 0) ||
                                     attributeName.Compare("class", 0, 0)))
      continue;
    AppendAttribute(options, attribute, out);
  }

  if (xhtml && IsOneOf(name, kEmptyElements) && !out.EndsWith("/", 1))
    out.Append(" /");
  if (tag.EndsWith(">", 1))
    out.AppendChar('>');
  return 1;
}

// ---- Detection over a text ----

static void ReportDiscards(const StringList& discards, ErrorHandler& reporter) {
  TextString message;
  for (int i = 0; i < discards.GetCount(); ++i) {
    const StringListEntry* entry = discards.GetItem(i);
    message.Assign(entry->text);
    if (entry->count > 1) {
      message.Append(" (");
      message.AppendNumber('1', entry->count, 1);
      message.Append("times)");
    }
    reporter.Report(message.GetText(), kDiscardLevel);
  }
}

int DetectTags(TextString& workLine, TagDetector& detector, const EntityTable& entities,
               ErrorHandler& reporter, const ConversionOptions& options, int keepUrls,
               int decodeEntities, const TextString& in, TextString& out) {
  PrepareDetector(detector);
  if (&workLine != &in)
    workLine = in;
  const bool hasTags = workLine.ContainsChar('<') && workLine.ContainsChar('>');
  const bool hasEntities = workLine.ContainsChar('&') && workLine.ContainsChar(';');
  int result = 0;
  if (hasTags) {
    JReplaceParser parser;
    TagMatchState scan(parser, detector, reporter, options, keepUrls);
    scan.discards.SetDuplicatesAllowed(false);
    scan.discards.KeepIndex(true);
    scan.sweepBudget = 8LL * workLine.GetLength() + 65536;
    (void)parser.AddPattern(kJCallbackLong, "<", nullptr, 1, OnTagMatch, &scan);
    (void)parser.AddPattern(kJCallbackLong, ">", nullptr, 1, OnTagMatch, &scan);
    const int count = parser.Scan(workLine.GetText(), nullptr, workLine.GetLength());
    if (count != 0) {
      workLine.AssignBytes(parser.GetResultText(), parser.GetResult().GetLength());
      result = count;
    }
    ReportDiscards(scan.discards, reporter);
  }
  if (decodeEntities && hasEntities &&
      (options.conversionMode == kConversionModeText || options.replaceEntitiesByText))
    result += DecodeEntities(entities, options, workLine, workLine);
  if (&out != &workLine)
    out = workLine;
  return result;
}

void SetHeadingTagOptions(ConversionOptions& options) {
  options.conversionMode = kConversionModeDetag;
  options.removeAllTags = 0;
  options.removeAllHtmlTags = 1;
  options.removeMailXTags = 0;
  options.removeOfficeTags = 1;
  options.removeComments = 1;
  options.replaceEntitiesByText = 1;
  options.allowAnsiAlternatives = 1;
}

int DetectTags(Context& ctx, const ConversionOptions& options, int flags, const TextString& in,
               TextString& out) {
  TextString workLine;
  return DetectTags(workLine, ctx.TagDetection, ctx.Entities, ctx.GetLogErrorHandler(), options,
                    (flags & kDetectKeepUrls) != 0, (flags & kDetectDecodeEntities) != 0, in, out);
}
