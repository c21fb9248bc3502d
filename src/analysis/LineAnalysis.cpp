#include "analysis/LineAnalysis.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "analysis/BulletWords.h"
#include "analysis/Emphasis.h"
#include "analysis/EmphasisMarks.h"
#include "analysis/HeadingRegistration.h"
#include "analysis/LineClassTests.h"
#include "analysis/LineContext.h"
#include "analysis/PreHTML.h"
#include "analysis/TextViews.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "policy/TextClassification.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/HeadDetails.h"
#include "policy/PolicyCalculation.h"
#include "policy/PolicyTable.h"
#include "analysis/TagRecognition.h"
#include "analysis/TagServices.h"
#include "text/CharacterUtils.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/StatementTypes.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

// ---- Mail and news header names ----

static constexpr std::string_view kMailHeaderNames[] = {
    "Abuse-Reports-To", "Also-Control", "Alternate-Recipient", "Apparently-To", "Approved",
    "Approved-By", "Article-Names", "Article-Updates", "Autoforwarded", "Auto-Forwarded", "bcc",
    "Cache-Post-Path", "cc", "Comments", "Content-Alias", "Content-Alternative", "Content-Base",
    "Content-Class", "Content-Conversion", "Content-Description", "Content-Disposition",
    "Content-Features", "Content-ID", "Content-Identifier", "Content-Language", "Content-Length",
    "Content-Location", "Content-MD5", "Content-Return", "Content-SGML-Entity",
    "Content-Transfer-Encoding", "Content-Type", "Control", "Conversion", "Conversion-With-Loss",
    "Date", "Delivered-To", "Delivery-Date", "Discarded-X400-IPMS-Extensions",
    "Discarded-X400-MTS-Extensions", "Disclose-Recipients", "Disposition-Notification-Options",
    "Disposition-Notification-To", "Distribution", "DL-Expansion-History-Indication", "Encoding",
    "Errors-To", "Envelope-ID", "Expires", "Expiry-Date", "Fax", "Fcc", "Followup-To",
    "For-Approval", "For-Comment", "For-Handling", "From", "Generate-Delivery-Report",
    "Importance", "In-Reply-To", "Incomplete-Copy", "Injector-Info", "Keywords", "Language",
    "Lines", "List-Archive", "List-Digest", "List-ID", "List-Owner", "List-Post", "List-Software",
    "List-Subscribe", "List-Unsubscribe", "List-URL", "Mail-Copies-To", "Mail-Reply-Requested-By",
    "Mail-System-Version", "Mailer", "Mailing-List", "Message-ID", "Message-Type", "MIME-Version",
    "Newsgroups", "NNTP-Posting-Date", "NNTP-Posting-Host", "NNTP-Posting-Time",
    "NNTP-Proxy-Relay", "Obsoletes", "Old-Date", "Old-X-Envelope-From", "Old-X-Envelope-To",
    "Organisation", "Organization", "Original-Encoded-Information-Typestypes",
    "Original-Recipient", "Originating-Client", "Originator", "Originator-Info", "Path", "Phone",
    "PICS-Label", "Posted-To", "Precedence", "Prevent-NonDelivery-Report", "Priority",
    "Read-Receipt-To", "Received", "References", "Replaces", "Reply-By", "Reply-To", "Resent-bcc",
    "Resent-cc", "Resent-Date", "Resent-From", "Resent-Message-ID", "Resent-Reply-To",
    "Resent-Sender", "Resent-Subject", "Resent-To", "Return-Path", "Return-Receipt-Requested",
    "Return-Receipt-To", "See-Also", "Sender", "Sensitivity", "Speech-Act", "Status", "Subject",
    "Summary", "Supersedes", "Telefax", "To", "Translated-By", "Translation-Of", "User-Agent",
    "X-Abuse-Info", "X-Accept-Language", "X-Admin", "X-Article-Creation-Date", "X-Attribution",
    "X-Authenticated-IP", "X-Authenticated-Sender", "X-Authentication-Warning", "X-Cache",
    "X-Comments", "X-Complaints-To", "X-Confirm-reading-to", "X-Envelope-From", "X-Envelope-To",
    "X-Face", "X-Flags", "X-Folder", "X-Http-Proxy", "X-Http-User-Agent", "X-IMAP",
    "X-Last-Updated", "X-List-Host", "X-Listserver", "X-Loop", "X-Mailer", "X-Mailer-Info",
    "X-Mailing-List", "X-MIME-Autoconverted", "X-MimeOLE", "X-MIMETrack", "X-MSMail-Priority",
    "X-MyDeja-Info", "X-Newsreader", "X-NNTP-Posting-Host", "X-No-Archive", "X-Notice",
    "X-Orig-Message-ID", "X-Original-Envelope-From", "X-Original-NNTP-Posting-Host",
    "X-Original-Trace", "X-OriginalArrivalTime", "X-Originating-IP", "X-PMFLAGS", "X-Posted-By",
    "X-Posting-Agent", "X-Priority", "X-RCPT-TO", "X-Report", "X-Report-Abuse-To", "X-Sender",
    "X-Server-Date", "X-Trace", "X-UIDL", "X-UML-Sequence", "X-URI", "X-URL", "X-X-Sender",
    "X400-Content-Return", "XPident", "Xref", "Archive-name", "Comment", "List-Help", "Meaning",
    "Posting-Frequency", "Relay-Version", "Thread-Index", "Thread-Topic", "Sent", "Subj",
    "Website", "X-Article", "X-BeenThere", "X-Comment", "X-Converted-To-Plain-Text",
    "X-eGroups-Return", "X-eGroups-Moderators", "X-Encoding", "X-Loop-Detect",
    "X-Mailman-Version", "X-Message-flag", "X-MX-warning", "X-Persona", "X-POP3-Rcpt",
    "X-Precedence-ref", "X-Precedence", "X-NEWS", "X-Received", "X-To", "X-Unsent", "X-VMS-To",
    "Message", "Messages",
};
static_assert(std::size(kMailHeaderNames) == 229, "the mail-header index holds 229 names");

std::span<const std::string_view> MailHeaderNames() { return kMailHeaderNames; }

// ---- Text views ----

static bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size())
    return false;
  if (part.empty())
    return true;
  // Only where the first byte matches is the rest compared: most lines hold no candidate.
  const char first = FoldCase(part[0]);
  const std::string_view rest = part.substr(1);
  const std::size_t last = text.size() - part.size();
  if (!IsAsciiLower(first)) {
    // A first byte without case (a tag delimiter) is found by the library's search.
    for (std::size_t i = 0; i <= last; ++i) {
      const void* hit = std::memchr(text.data() + i, first, last + 1 - i);
      if (hit == nullptr)
        return false;
      i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
      if (EqualsNoCase(text.substr(i + 1, rest.size()), rest))
        return true;
    }
    return false;
  }
  for (std::size_t i = 0; i <= last; ++i) {
    if (FoldCase(text[i]) == first && EqualsNoCase(text.substr(i + 1, rest.size()), rest))
      return true;
  }
  return false;
}

// The first three blank-separated words of a text and where the second and third start,
// counted from the text's first non-blank byte (-1 when there is no such word).
struct LineWords {
  std::string_view first;
  std::string_view second;
  std::string_view third;
  int secondColumn = -1;
  int thirdColumn = -1;
};

static LineWords WordsOf(std::string_view text) {
  text = LeftTrimmed(text);
  LineWords words;
  std::size_t i = 0;
  // Only a blank, a tab or the lead byte of a no-break space can start a separator.
  const auto mayBeBlank = [](char c) { return c == ' ' || c == '\t' || c == '\xC2'; };
  auto nextWord = [&](std::string_view& word) -> int {
    for (std::size_t n = 0; i < text.size() && (n = BlankBytesAt(text, i)) > 0;)
      i += n;
    if (i >= text.size())
      return -1;
    const std::size_t start = i;
    while (i < text.size() && (!mayBeBlank(text[i]) || BlankBytesAt(text, i) == 0))
      ++i;
    word = text.substr(start, i - start);
    return static_cast<int>(start);
  };
  (void)nextWord(words.first);
  words.secondColumn = nextWord(words.second);
  if (words.secondColumn >= 0)
    words.thirdColumn = nextWord(words.third);
  return words;
}

static void AssignView(TextString& out, std::string_view text) {
  out.AssignBytes(text.data(), static_cast<int>(text.size()));
}

// The indent (leading blanks, 0 for a line without a non-blank byte) and the length (the
// column after the last non-blank byte) of a line's text.
static void RecomputeGeometry(PreHTML& line) {
  const std::string_view text = View(line);
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1]))
    --end;
  std::size_t indent = 0;
  while (indent < end && IsBlank(text[indent]))
    ++indent;
  line.SetLineLength(static_cast<int>(end));
  line.SetIndent(end == 0 ? 0 : static_cast<int>(indent));
}

// ---- Mail-header names ----

bool IsMailHeaderName(Context& ctx, const TextString& name) {
  const std::string_view view = View(name);
  if (view.empty() || EqualsNoCase(view, "http") || EqualsNoCase(view, "note"))
    return false;
  if (std::any_of(view.begin(), view.end(), IsBlank))
    return false;
  if (ctx.MailHeaderIndex.GetCount() == 0) {
    for (std::string_view header : kMailHeaderNames)
      ctx.MailHeaderIndex.Insert(header.data());
  }
  return ctx.MailHeaderIndex.Find(name.GetText()) >= 0;
}

// ---- Calls into the tag handlers, the emphasis markup and the heading registry ----

// The number a LIST_ITEM tag line gives the open list; the count stands when the tag gives
// none.
static int ListItemNumber(FileControl& /*fc*/, Context& /*ctx*/, const PreHTML& /*line*/,
                          int current) {
  return current;
}

// The in-line HTML tags of a bullet's blank line are kept; the result says whether any text
// (tags included) remains.
static bool HasTextBesidesHtmlTags(FileControl& /*fc*/, Context& /*ctx*/,
                                   const TextString& markup) {
  return !Trimmed(View(markup)).empty();
}

// The end-of-list tag of a line is left to the output stage; no message arises here.
static int EndListFallback(FileControl& /*fc*/, Context& /*ctx*/, PreHTML& /*line*/,
                           TextString& /*message*/) {
  return -1;
}

// Pairs the emphasis phrases that run over lines while the lines above are still in the
// window: both lines record their part of the pair. The line's text stays as read, since the
// statement output escapes it before marking up its emphasis, the recorded pairs included.
static void MarkEmphasis(FileControl& fc, Context& ctx, PreHTML& line) {
  TextString marked(line);
  TidyEmphasisLine(fc, ctx, marked, &line);
}

// The mail block's heading anchor: registered in the Context's heading list under the
// Subject at the given position, line type 250.
static void RegisterMailHeading(FileControl& fc, Context& ctx, const TextString& subject,
                                const TextString& from, const TextPosition& position) {
  const TextString empty;
  RegisterHeading(ctx, fc, kTypeMailHeader, subject, subject, subject, position, from, empty,
                  empty);
}

// ---- The analysis of one line ----

bool EndsInDotLeaderPageNumber(std::string_view text) {
  text = Trimmed(text);
  std::size_t end = text.size();
  const std::size_t digitsEnd = end;
  while (end > 0 && IsAsciiDigit(text[end - 1]))
    --end;
  if (end == digitsEnd)
    return false;
  int dots = 0;
  while (end > 0 && (text[end - 1] == '.' || IsBlank(text[end - 1]))) {
    if (text[end - 1] == '.')
      ++dots;
    --end;
  }
  return dots >= 3;
}

namespace {

// The detectors that a rule set switches off for the whole line.
struct Detectors {
  bool centring = true;
  bool changeBars = true;
  bool codeSamples = true;
  bool definitions = true;
  bool underlines = true;
  bool mailHeaders = true;
  bool preformatted = true;
};

// One run of PreHTML::AnalyseLine: the line, its neighbours and what the steps found. Each
// step returns true when the analysis of the line ends there.
class LineAnalyser {
 public:
  LineAnalyser(PreHTML& line, FileControl& fc, Context& ctx)
      : line_(line), fc_(fc), ctx_(ctx), work_(line.GetAnalysisWork()) {}
  LineAnalyser(const LineAnalyser&) = delete;
  LineAnalyser& operator=(const LineAnalyser&) = delete;

  void Run();

 private:
  int Policy(PolicyId id) const { return fc_.GetInt(id); }
  int Type() const { return line_.GetLineType(); }
  void SetType(int type) { line_.SetLineType(type); }
  bool Untyped() const { return Type() == kTypeUntyped || Type() == kTagNone; }
  bool InUserRegion() const { return line_.HasFlag(kFlagUserRegion); }
  CalculationStatistics Statistics() { return CalculationStatistics(ctx_.Statistics); }
  void Report(const char* text) { line_.ReportLineMessage(ctx_, text, 10); }
  // Re-types a neighbour and refreshes its record.
  void Retype(LineContext& record, int type);

  void Prepare();
  bool BlockDirectives();
  void UpdateTracker();
  void ConvertDosCharacters();
  void FindHeadingTag();
  void SplitWords();
  void TakeTitles();
  void BuildContexts();
  bool TaggedLine();
  bool UntaggedLine();
  bool BlankLine();
  bool FormFeed();
  void ContentsList();
  void MarkContentsListLine();
  void ChangeBar();
  void PreformattedMark();
  void MailHeader();
  void MailBlockEnd();
  void Centring();
  bool HasTitleAfterFirstWord() const;
  int NumberedHeading();
  int AppendixHeading();
  bool CapitalisedHeading();
  int KeyPhraseHeading();
  bool EmbeddedHeading();
  bool HeadingOrBullet();
  void Definition();
  void QuotedText();
  void CodeSample();
  void HangingByIndent();
  void FixedHangingPositions();
  bool Underline();
  void BulletContinuation();
  bool JoinIntoHeading();
  void Continuation();
  void RuleSetList();
  void NewParagraph();
  void LongToShort();
  void ShortLine();
  void Finish();
  void RollOut();

  PreHTML& line_;
  FileControl& fc_;
  Context& ctx_;
  PreHTML::AnalysisWork& work_;
  Tracker* tracker_ = nullptr;
  bool analysisPass_ = false;
  bool contentsPass_ = false;
  bool hasText_ = false;  // the line holds a byte other than a blank or a tab
  Detectors detectors_;

  PreHTML* previous_ = nullptr;
  PreHTML* effective_ = nullptr;
  PreHTML* beforeEffective_ = nullptr;
  PreHTML* twoBack_ = nullptr;
  PreHTML* next_ = nullptr;
  LineContext current_;
  LineContext previousRecord_;
  LineContext effectiveRecord_;
  LineContext beforeEffectiveRecord_;
  LineContext twoBackRecord_;
  LineContext nextRecord_;
  // What the first pre-formatted scoring measured, for the review in Finish: between the two
  // no step changes the markup or tidy rendering of the line or of effective_ (a step that
  // does, joining the line into a heading, ends the analysis); the text of effective_ changes
  // only when an emphasis phrase is withdrawn (Underline).
  PreformattedMeasure scoreMeasure_;
};

void LineAnalyser::Retype(LineContext& record, int type) {
  if (record.line == nullptr)
    return;
  record.line->SetLineType(type);
  FillLineContext(fc_, record, record.line);
}

// ---- Steps 1-4: set-up and definitions ----

void LineAnalyser::Prepare() {
  work_.leftTrimmed.SetEmpty();
  work_.firstWord.SetEmpty();
  work_.secondWord.SetEmpty();
  work_.thirdWord.SetEmpty();
  work_.secondWordColumn = -1;
  work_.thirdWordColumn = -1;
  work_.headingWord.SetEmpty();
  work_.headerName.SetEmpty();
  work_.scratch.SetEmpty();
  ctx_.LineStage = kLineStageAnalysis;
  tracker_ = ctx_.pGetTracker();
  analysisPass_ = ctx_.AnalysisPass != 0;
  contentsPass_ = ctx_.ContentsPass != 0;
  AssignView(work_.leftTrimmed, LeftTrimmed(View(line_)));
  if (fc_.GetRuleSet() == 1 || fc_.GetRuleSet() == 2)
    detectors_ = Detectors{false, false, false, false, false, false, false};
}

// Definition blocks and fragments. The per-statement step of the pass has already reported
// a nested opening and a stray END_BLOCK when the statement was read, so they are not
// reported a second time here.
bool LineAnalyser::BlockDirectives() {
  const int tag = line_.GetTaggedType();
  int& inBlock = tracker_->inDefinitionBlock;
  switch (tag) {
    case kTagDefineBlock:
    case kTagDefineHtmlFragment:
    case kTagDefineTextFragment:
      SetType(tag);
      if (inBlock != 0)
        return false;
      inBlock = 1;
      return true;
    case kTagResetBlock:
    case kTagResetHtmlFragment:
    case kTagResetTextFragment:
      return true;
    case kTagEndBlock:
      SetType(kTagEndBlock);
      if (inBlock == 0)
        return false;
      inBlock = 0;
      return true;
    default:
      break;
  }
  if (inBlock != 0) {
    SetType(kTypeNull);
    return true;
  }
  if (tag == kTagDefineVariable) {
    SetType(kTagDefineVariable);
    return true;
  }
  return false;
}

// ---- Steps 5-12: the line's state ----

void LineAnalyser::UpdateTracker() {
  const TextPosition& start = line_.GetStartPosition();
  tracker_->currentPosition = start;
  if (start.IsSet() && start.GetLine() == 0)
    tracker_->secondPosition = start;
  tracker_->currentLine = &line_;
  const int tag = line_.GetTaggedType();
  UpdateTrackerForLine(fc_, tracker_, line_.GetRawCopy(), tag);
  if (tag == kTagEndList) {
    TextString message;
    const int level = EndListFallback(fc_, ctx_, line_, message);
    if (level >= 0)
      line_.ReportLineMessage(ctx_, message.GetText(), level);
  } else if (tag == kTagListItem) {
    tracker_->openListCount = ListItemNumber(fc_, ctx_, line_, tracker_->openListCount);
  } else if (tag == kTagBeginUserTaggedTable && tracker_->openListCount > 0) {
    // The table tag as an in-line tag: the raw copy without its start delimiter.
    TextString tagText(line_.GetRawCopy());
    const TextString& startDelimiter = fc_.GetText(PolicyId::StartTagDelimiter);
    if (!startDelimiter.IsEmpty() && tagText.StartsWith(startDelimiter.GetText(), 1))
      (void)tagText.KeepFrom(startDelimiter.GetLength());
    TextString keyword;
    TextString arguments;
    TextString message;
    int level = -1;
    (void)RecogniseTag(fc_, ctx_, tagText, keyword, arguments, message, level);
    if (level != tracker_->openListCount)
      tracker_->openListCount = 0;
  }
}

// The analysis pass gathers the evidence of code page 437 text for the policy calculation.
void LineAnalyser::ConvertDosCharacters() {
  if (!analysisPass_ || fc_.IsSet(PolicyId::InputFileContainsDOSCharacters))
    return;
  const bool rtf = ctx_.GetOutputType() == kOutputRtf;
  const bool tables = Policy(PolicyId::AttemptTABLEGeneration) != 0;
  int runs = 0;
  line_.GetTidy().ConvertOemCharacters(rtf ? 0 : 1, (!rtf || tables) ? 1 : 0, 1, &runs);
  Statistics().dosCharacters += runs;
}

void LineAnalyser::FindHeadingTag() {
  if (work_.headingMarker.IsEmpty()) {
    work_.headingMarker.Assign(fc_.GetText(PolicyId::StartTagDelimiter));
    work_.headingMarker.Append("HEADING");
  }
  if (line_.GetMarkup().IsEmpty() ||
      !ContainsNoCase(View(line_.GetMarkup()), View(work_.headingMarker)))
    return;
  line_.SetFlag(kFlagHeadingTag, true);
  tracker_->openListCount = 0;
}

void LineAnalyser::SplitWords() {
  const LineWords words = WordsOf(View(work_.leftTrimmed));
  AssignView(work_.firstWord, words.first);
  AssignView(work_.secondWord, words.second);
  AssignView(work_.thirdWord, words.third);
  work_.secondWordColumn = words.secondColumn;
  work_.thirdWordColumn = words.thirdColumn;
  line_.SetFirstWordLength(static_cast<int>(words.first.size()));
}

void LineAnalyser::TakeTitles() {
  const std::string_view plain = Trimmed(View(line_.GetPlain()));
  if (plain.size() <= 2)
    return;
  TextString& title = ctx_.TitleTexts[0];
  if (Policy(PolicyId::UseFirstLineAsTitle) != 0 && title.IsEmpty() &&
      !IsRuleLine(line_.GetText()))
    AssignView(title, plain);
  if (Policy(PolicyId::UseFirstLineAsHeading) != 0 && ctx_.FirstHeadingText.IsEmpty()) {
    AssignView(ctx_.FirstHeadingText, plain);
    SetType(kTypeUnderlinedHeading1);
  }
}

void LineAnalyser::BuildContexts() {
  previous_ = AsLine(line_.GetPrevious());
  effective_ = previous_;
  if (previous_ != nullptr) {
    const int type = previous_->GetLineType();
    PreHTML* before = AsLine(previous_->GetPrevious());
    if ((type == kTypeNull || type == kTypeHeaderNull || type == kTypeIgnored) &&
        before != nullptr)
      effective_ = before;
  }
  beforeEffective_ = effective_ != nullptr ? AsLine(effective_->GetPrevious()) : nullptr;
  twoBack_ = previous_ != nullptr ? AsLine(previous_->GetPrevious()) : nullptr;
  next_ = AsLine(line_.GetNext());
  if (Type() == kTagNone)
    SetType(kTypeUntyped);
  FillLineContext(fc_, current_, &line_);
  FillLineContext(fc_, previousRecord_, previous_);
  // Mostly the effective line is the previous one, and the line before it the one two back:
  // their records are copied rather than filled again.
  if (effective_ == previous_)
    effectiveRecord_ = previousRecord_;
  else
    FillLineContext(fc_, effectiveRecord_, effective_);
  FillLineContext(fc_, beforeEffectiveRecord_, beforeEffective_);
  if (twoBack_ == beforeEffective_)
    twoBackRecord_ = beforeEffectiveRecord_;
  else
    FillLineContext(fc_, twoBackRecord_, twoBack_);
  FillLineContext(fc_, nextRecord_, next_);
}

// ---- Steps 13-16: tagged, region, blank and form-feed lines ----

static bool IsAnalysedTagType(int tag) {
  return tag == kTypeContentsList || tag == kTypeNavigationBar ||
         (tag >= kTagLine && tag <= kTagRestoreContext) ||
         (tag >= kTagDefineHtmlFragment && tag <= kTagMetaTag) ||
         (tag >= kTagBeginDiagram && tag <= kTagInsertFragment);
}

bool LineAnalyser::TaggedLine() {
  const int tag = line_.GetTaggedType();
  if (tag == kTagNone)
    return false;
  if (IsAnalysedTagType(tag)) {
    SetType(tag);
    return true;
  }
  TextString& message = work_.scratch;
  message.Assign("UNSUPPORTED CASE: Tagged line type : ");
  message.AppendNumber('1', tag, 0);
  Report(message.GetText());
  return false;
}

bool LineAnalyser::UntaggedLine() {
  if (InUserRegion()) {
    // The blank line just above a region's first line belongs to no paragraph.
    if (effective_ != nullptr && effectiveRecord_.type == kTypeBlank &&
        previous_ != nullptr && !previous_->HasFlag(kFlagUserRegion))
      Retype(effectiveRecord_, kTypeNull);
    return true;
  }
  if (!analysisPass_)
    return false;
  CalculationStatistics named = Statistics();
  ++named.numLines;
  if (line_.IsEmpty() && previous_ != nullptr && twoBack_ != nullptr && twoBack_->IsEmpty() &&
      next_ != nullptr && !next_->IsEmpty())
    ++named.numDoubleSpaceLines;
  return false;
}

bool LineAnalyser::BlankLine() {
  hasText_ = !Trimmed(View(line_)).empty();
  if (hasText_)
    return false;
  const bool afterBullet = effectiveRecord_.isBullet || effectiveRecord_.isBulletBlankLine;
  if (tracker_->openListCount > 0 && (afterBullet || effectiveRecord_.isListLine)) {
    const TextString& markup = line_.GetMarkup();
    if (markup.IsEmpty())
      SetType(kTypeBulletBlank);
    else
      SetType(HasTextBesidesHtmlTags(fc_, ctx_, markup) ? kTypeBulletBlankWithTags
                                                        : kTypeBulletBlankWithComment);
  } else {
    SetType(kTypeBlank);
  }
  if (analysisPass_)
    ++Statistics().numBlankLines;
  return !afterBullet;
}

bool LineAnalyser::FormFeed() {
  if (View(line_) != "\f")
    return false;
  FileControl::HeadingState& state = fc_.GetHeadingState();
  if (state.inContentsList != 0)
    state.pageBreakAfterContentsLine = 1;
  if (effectiveRecord_.isBullet || effectiveRecord_.isBulletBlankLine)
    return false;
  // The input's page ends inside its contents list: the list goes on without a page break of
  // its own, which would follow an output page that the entries had already filled.
  SetType(state.inContentsList != 0 && state.contentsLines > 1 ? kTypeBlank : kTypeFormFeed);
  return true;
}

// ---- Steps 17-22: contents list, change bars, pre-formatted and mail lines, centring ----

// A title at column 0, or a line that holds nothing but the title (a centred "Table of
// Contents").
static bool OpensContentsList(std::string_view text) {
  const std::string_view alone = Trimmed(text);
  for (std::string_view title : {"Table of Contents", "Index of", "Contents", "C O N T E N T S"}) {
    if (StartsWithNoCase(text, title) || EqualsNoCase(alone, title))
      return true;
  }
  return false;
}

// The line number of a position (the line within its block); -1 when unset.
static int LineNumberOf(const TextPosition& position) {
  return position.IsSet() ? position.GetColumn() : -1;
}

// A line that ends in a page number after a dot leader set after a word ("B.  Older Labels
// ..... 6"), not a range between numbers ("values 0...254").
static bool EndsInLeaderedPageNumber(std::string_view text) {
  if (!EndsInDotLeaderPageNumber(text))
    return false;
  text = Trimmed(text);
  std::size_t end = text.size();
  while (end > 0 && IsAsciiDigit(text[end - 1]))
    --end;
  while (end > 0 && (text[end - 1] == '.' || IsBlank(text[end - 1])))
    --end;
  return end > 0 && !IsAsciiDigit(text[end - 1]);
}

void LineAnalyser::ContentsList() {
  // Such an entry stands on a line of its own wherever it is, in a list of contents that was
  // not recognised as one too: two entries joined into one paragraph read as prose.
  if (EndsInLeaderedPageNumber(View(line_)))
    line_.SetFlag(kFlagParagraphEnd, true);
  FileControl::HeadingState& state = fc_.GetHeadingState();
  if (state.contentsSearchClosed != 0 || state.contentsListEnded != 0)
    return;
  if (state.inContentsList == 0) {
    if (Policy(PolicyId::ExpectContentsList) == 0 || !OpensContentsList(View(line_)))
      return;
    state.BeginContentsList(1);
    state.NoteContentsLine(line_.GetStartPosition());
  } else if (View(line_) == "\f") {
    state.pageBreakAfterContentsLine = 1;  // a form feed after a bullet comes this far
  } else if (hasText_) {
    ++state.linesAfterContentsLine;
  }
  if (EndsInDotLeaderPageNumber(View(line_))) {
    state.NoteContentsLine(line_.GetStartPosition());
    MarkContentsListLine();
    return;
  }
  const int last = LineNumberOf(state.lastContentsLine);
  const int gap = state.pageBreakAfterContentsLine != 0
                      ? state.linesAfterContentsLine
                      : LineNumberOf(line_.GetStartPosition()) - last;
  // The list ends so whether or not a section number was seen: in a pass that parses no
  // numbers (numbered headings off) or takes none of the entries, a list that waited for one
  // would run to the end of the document, and every later line would be a contents entry.
  if (last > 0 && gap > kContentsListGap) {
    state.inContentsList = 0;
    line_.SetFlag(kFlagContentsList, false);
    // A list of nothing but the numbered line that began it (a lone "1." early in the text)
    // was no contents list: the document's own list may still begin.
    if (state.contentsLines > 1 || state.contentsTitled != 0)
      state.contentsListEnded = 1;
    return;
  }
  MarkContentsListLine();
}

// A line of the contents list that no heading test takes (an unnumbered entry such as
// "Authors' Addresses ..... 38") still stands on a line of its own.
void LineAnalyser::MarkContentsListLine() {
  line_.SetFlag(kFlagContentsList, true);
  line_.SetFlag(kFlagParagraphEnd, true);
}

static void BlankOutBars(TextString& text) { (void)text.ReplaceChar(0, '|', ' ', 0); }

void LineAnalyser::ChangeBar() {
  if (!detectors_.changeBars ||
      (!analysisPass_ && Policy(PolicyId::InputFileHasChangeBars) == 0))
    return;
  const TextString& tidy = line_.GetTidy();
  if (tidy.CountChar('|') != 1)
    return;
  if (!tidy.StartsWith("| ", 1) && !tidy.StartsWith(" |", 1) && !tidy.EndsWith(" |", 1))
    return;
  if (analysisPass_)
    ++Statistics().changeBarLines;
  line_.SetFlag(kFlagChangeBar, true);
  line_.SetFlag(kFlagPreformatted, false);
  line_.SetPreformattedKind(0);
  BlankOutBars(line_);
  BlankOutBars(line_.GetMarkup());
  BlankOutBars(line_.GetTidy());
  BlankOutBars(line_.GetPlain());
  BlankOutBars(line_.GetRawCopy());
  RecomputeGeometry(line_);
  AssignView(work_.leftTrimmed, LeftTrimmed(View(line_)));
  FillLineContext(fc_, current_, &line_);
}

void LineAnalyser::PreformattedMark() {
  if (!detectors_.preformatted || Policy(PolicyId::LookForPreformattedText) == 0 ||
      line_.HasFlag(kFlagChangeBar | kFlagUserRegion | kFlagUserHtml))
    return;
  const int score = line_.PreformattedScore(fc_, effective_, 0, &scoreMeasure_);
  if (score <= 0)
    return;
  line_.SetFlag(kFlagPreformatted, true);
  line_.SetPreformattedKind(score);
}

void LineAnalyser::MailHeader() {
  if (!detectors_.mailHeaders || Policy(PolicyId::LookForMAILAndUSENETHeaders) == 0 ||
      line_.HasFlag(kFlagUserRegion | kFlagUserHtml))
    return;
  constexpr std::size_t kHeaderNameSpan = 30;
  const std::string_view text = View(line_);
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon >= kHeaderNameSpan)
    return;
  AssignView(work_.headerName, text.substr(0, colon));
  if (!IsMailHeaderName(ctx_, work_.headerName))
    return;
  line_.SetFlag(kFlagMailHeader, true);
  line_.SetFlag(kFlagPreformatted, true);
  line_.SetPreformattedKind(7);
  if (!analysisPass_ && !contentsPass_)
    return;
  // The value: the line without the name and its colon.
  const std::string_view value = Trimmed(text.substr(colon + 1));
  const std::string_view name = View(work_.headerName);
  Context::MailHeaderBlock& block = ctx_.MailBlock;
  auto take = [&](TextString& field, int& seen) {
    if (seen != 0)
      return;
    AssignView(field, value);
    seen = value.empty() ? 0 : 1;
  };
  if (EqualsNoCase(name, "From"))
    take(block.from, block.fromSeen);
  else if (EqualsNoCase(name, "Date"))
    take(block.date, block.dateSeen);
  else if (EqualsNoCase(name, "Subject") || EqualsNoCase(name, "Subj"))
    take(block.subject, block.subjectSeen);
}

void LineAnalyser::MailBlockEnd() {
  if (line_.HasFlag(kFlagMailHeader))
    return;
  Context::MailHeaderBlock& block = ctx_.MailBlock;
  const bool afterBlock = (previous_ != nullptr && previous_->HasFlag(kFlagMailHeader)) ||
                          (beforeEffective_ != nullptr &&
                           beforeEffective_->HasFlag(kFlagMailHeader));
  if (afterBlock && block.subjectSeen != 0 && block.fromSeen != 0) {
    if (analysisPass_)
      ++Statistics().mailHeadings;
    if (contentsPass_ && Policy(PolicyId::ExpectNumberedHeadings) == 0)
      RegisterMailHeading(fc_, ctx_, block.subject, block.from, line_.GetStartPosition());
  }
  // Whether the block ended here or no block was open, nothing of it is kept.
  block.Forget();
}

// How far a line is from centred: |indent + its tidy end column - "Page Width"|, 0 for a
// line whose two margins are equal.
static int CentringMeasure(const LineContext& record, int width) {
  return std::abs(record.indent + record.lastNonBlankColumn - width);
}

void LineAnalyser::Centring() {
  if (!detectors_.centring)
    return;
  const int width = Policy(PolicyId::PageWidth);
  const int tolerance = Policy(PolicyId::AutomaticCentringTolerance);
  const bool nextDisagrees = next_ != nullptr && !next_->IsEmpty() &&
                             nextRecord_.type != kTypeBlank && nextRecord_.type != kTagNone &&
                             CentringMeasure(nextRecord_, width) >= tolerance;
  if (nextDisagrees) {
    if (effectiveRecord_.centred && effective_ != nullptr) {
      effective_->SetFlag(kFlagCentred, false);
      FillLineContext(fc_, effectiveRecord_, effective_);
    }
    return;
  }
  if (CentringMeasure(current_, width) >= tolerance)
    return;
  if (!effectiveRecord_.centred &&
      !(current_.indent > 6 && effectiveRecord_.type == kTypeBlank))
    return;
  line_.SetFlag(kFlagCentred, true);
  current_.centred = true;
}

// ---- Steps 23-28: headings and bullets ----

// Words that announce a heading number after them ("Chapter 3", "Section 2.1").
static bool NamesASection(std::string_view word) {
  return ContainsNoCase(word, "Chapter") || ContainsNoCase(word, "Subject") ||
         ContainsNoCase(word, "Section");
}

// A word that opens a bracket ("(Section 5.8.1.2)") begins a cross-reference in running text,
// not a heading: the number after it names another section.
static bool OpensBracket(std::string_view word) {
  return !word.empty() && (word.front() == '(' || word.front() == '[');
}

// Whether word is one of the enabled numbering words of the six heading levels.
static bool IsNumberingWord(const FileControl& fc, std::string_view word) {
  for (const HeadDetails& level : fc.GetRecognisedHeadings().headings) {
    for (int k = 0; k < 2; ++k) {
      if (level.numberingWordEnabled[k] != 0 &&
          EqualsNoCase(word, View(level.numberingWords[k])))
        return true;
    }
  }
  return false;
}

bool LineAnalyser::HasTitleAfterFirstWord() const {
  if (work_.secondWordColumn < 0)
    return false;
  const std::string_view rest = View(work_.leftTrimmed).substr(
      std::min(static_cast<std::size_t>(work_.secondWordColumn),
               static_cast<std::size_t>(work_.leftTrimmed.GetLength())));
  return std::any_of(rest.begin(), rest.end(), [](char c) { return IsAsciiLetter(c); });
}

int LineAnalyser::NumberedHeading() {
  const int breakBefore = (effectiveRecord_.type == kTypeUntyped &&
                           beforeEffectiveRecord_.type == kTypeUntyped && !analysisPass_ &&
                           Policy(PolicyId::ExpectBlankLinesBetweenParas) != 0)
                              ? 0
                              : 1;
  // A number without a title after it ("1." alone above a paragraph, "6 */") is no heading.
  int type = 0;
  if (HasTitleAfterFirstWord()) {
    work_.headingWord.Assign(work_.firstWord);
    type = line_.TestHeadingCandidate(fc_, ctx_, work_.headingWord, 1, -1, breakBefore);
  }
  if (type != 0)
    return type;
  if (Type() != kTypeUntyped && Type() != kTypeDefinition)
    return 0;
  if (!analysisPass_ && Policy(PolicyId::ExpectSecondWordHeadings) == 0)
    return 0;
  const std::string_view first = View(work_.firstWord);
  if (OpensBracket(first) || (!NamesASection(first) && !IsNumberingWord(fc_, first)))
    return 0;
  work_.headingWord.Assign(work_.secondWord);
  type = line_.TestHeadingCandidate(fc_, ctx_, work_.headingWord, 2, -1, breakBefore);
  if (type != 0 || !NamesASection(View(work_.secondWord)))
    return type;
  work_.headingWord.Assign(work_.thirdWord);
  return line_.TestHeadingCandidate(fc_, ctx_, work_.headingWord, 3, -1, breakBefore);
}

// The depth of a lettered section label ("A" 0, "A.1" 1, "B.2.3." 2): -1 when label is not an
// ASCII capital followed by dot-separated numbers, with a trailing '.' or ':' allowed. A bare
// letter is a label only when named (after "Appendix") or followed by '.'.
static int LetteredLabelDepth(std::string_view label, bool named) {
  if (!label.empty() && (label.back() == '.' || label.back() == ':')) {
    if (!named && label.size() == 2 && label.back() == ':')
      return -1;
    label.remove_suffix(1);
  } else if (!named && label.size() == 1) {
    return -1;
  }
  if (label.empty() || label[0] < 'A' || label[0] > 'Z')
    return -1;
  int depth = 0;
  for (std::size_t i = 1; i < label.size(); ++i) {
    if (label[i] != '.' || i + 1 == label.size() || !IsAsciiDigit(label[i + 1]))
      return -1;
    ++depth;
    while (i + 1 < label.size() && IsAsciiDigit(label[i + 1]))
      ++i;
  }
  return depth;
}

int LineAnalyser::AppendixHeading() {
  // Appendices follow a document's numbered chapters: a lettered label is looked for only
  // once numbered headings are recognised and one has been accepted, and only at column 0
  // after a break, with a capitalised title, outside the contents list. The letters must
  // run in order unless the line names the appendix, as lettered list items would not. A
  // line that names its appendix and stands alone above a blank line ("Appendix A. Data
  // Format") is a heading without an accepted chapter before it: the chapters of a document
  // may be unnumbered titles.
  FileControl::HeadingState& state = fc_.GetHeadingState();
  if (analysisPass_ || fc_.GetRecognisedHeadings().count == 0 ||
      state.inContentsList != 0 || ctx_.pGetTracker()->inContents != 0 ||
      ctx_.pGetTracker()->Allows(Permission::NumberedHeadings) == 0)
    return 0;
  if (line_.GetIndent() != 0 || effectiveRecord_.type == kTypeUntyped || InUserRegion() ||
      EndsInDotLeaderPageNumber(View(line_)))
    return 0;
  const LineWords words = WordsOf(View(work_.leftTrimmed));
  const bool named = EqualsNoCase(words.first, "Appendix");
  const bool alone = next_ == nullptr || Trimmed(View(*next_)).empty();
  if (state.headingAccepted == 0 && !(named && alone))
    return 0;
  const std::string_view label = named ? words.second : words.first;
  const int titleColumn = named ? words.thirdColumn : words.secondColumn;
  if (titleColumn < 0)
    return 0;
  const int depth = LetteredLabelDepth(label, named);
  if (depth < 0 || depth > kTypeHeading6 - kTypeHeading1)
    return 0;
  const char title = View(work_.leftTrimmed)[static_cast<std::size_t>(titleColumn)];
  if (title < 'A' || title > 'Z')
    return 0;
  const char letter = label[0];
  const char last = state.lastAppendixLetter;
  const bool inOrder = last == 0 ? letter == 'A' : letter == last || letter == last + 1;
  if (!named && !inOrder)
    return 0;
  state.lastAppendixLetter = letter;
  return kTypeHeading1 + depth;
}

// A pre-formatted score above this marks a row of a table, a diagram or code (the list file
// shows it as '+').
inline constexpr int kStrongPreformattedKind = 5;

// Lines in capitals that are plainly no heading: a row of a diagram or table, a formula or a
// segment picture ("SND.UNA < SEG.ACK =< SND.NXT", "<SEQ=100><CTL=SYN>"), and a contents
// entry ("GLOSSARY ........ 79").
static bool IsCapitalsButNoHeading(const PreHTML& line) {
  return (line.HasFlag(kFlagPreformatted) &&
          line.GetPreformattedKind() > kStrongPreformattedKind) ||
         !line.ContainsNoneOf("<>=") || EndsInDotLeaderPageNumber(View(line));
}

// A line in capitals with another line in capitals directly below it, set in as far, is the
// first entry of a list of names ("UNKNOWN" over "VAX-11/725"), not a heading; centred lines
// are left to the title tests.
static bool BeginsListOfCapitals(const PreHTML& line, const PreHTML* next) {
  if (next == nullptr || next->GetLineLength() <= 0 || line.HasFlag(kFlagCentred))
    return false;
  return next->GetIndent() == line.GetIndent() && next->HasNoLowerCase() &&
         !next->HasNoLetters();
}

// The fewest columns by which a definition is set in under its term.
inline constexpr int kDefinitionIndent = 3;

// A line in capitals with a line of text directly below it, set in further, is the term of a
// glossary entry ("ACK" over "          A control bit ..."), not a heading.
static bool IsGlossaryTerm(const PreHTML& line, const PreHTML* next) {
  if (next == nullptr || next->GetLineLength() <= 0 || line.HasFlag(kFlagCentred))
    return false;
  return next->GetIndent() >= line.GetIndent() + kDefinitionIndent && !next->HasNoLowerCase();
}

// The blanks that part two columns of a table row.
inline constexpr std::string_view kColumnGap = "   ";

// A line in capitals directly above a table row set in further ("FTP" over "  Control    1000
// (minimize delay)") is the label of the rows below it, not a heading: a heading stands apart
// from a table, or has text under it.
static bool LabelsTableRows(const PreHTML& line, const PreHTML* next) {
  if (next == nullptr || next->GetLineLength() <= 0 || line.HasFlag(kFlagCentred) ||
      next->GetIndent() <= line.GetIndent())
    return false;
  return Trimmed(View(*next)).find(kColumnGap) != std::string_view::npos;
}

bool LineAnalyser::CapitalisedHeading() {
  if (tracker_->Allows(Permission::CapitalisedHeadings) == 0 ||
      Policy(PolicyId::ExpectCapitalisedHeadings) == 0 || effectiveRecord_.type != kTypeBlank)
    return false;
  if (!line_.HasNoLowerCase() || !line_.ContainsNoneOf("/|\\") || line_.HasNoLetters() ||
      line_.HasFlag(kFlagUserHtml | kFlagRollOut) || IsCapitalsButNoHeading(line_) ||
      BeginsListOfCapitals(line_, next_) || IsGlossaryTerm(line_, next_) ||
      LabelsTableRows(line_, next_))
    return false;
  if (analysisPass_) {
    ++Statistics().capitalisedHeadings;
    return false;
  }
  SetType(kTypeCapitalisedHeading);
  return true;
}

// The levels a key-phrase heading may have.
inline constexpr int kLowestHeadingLevel = 1;
inline constexpr int kHighestHeadingLevel = 6;

// The level of one key-phrase pair: the number after its last comma; when that is missing or
// negative, the pair's position. phrases receives the part before the comma.
static int KeyPhraseLevel(std::string_view pair, int position, std::string_view& phrases) {
  const std::size_t comma = pair.rfind(',');
  phrases = pair.substr(0, comma == std::string_view::npos ? pair.size() : comma);
  if (comma == std::string_view::npos)
    return position;
  const std::string_view number = Trimmed(pair.substr(comma + 1));
  if (number.empty() || !std::all_of(number.begin(), number.end(), IsAsciiDigit))
    return position;
  int level = 0;
  for (char c : number) {
    level = level * 10 + (c - '0');
    if (level > 1000)
      break;  // far outside the heading levels: no need to read on
  }
  return level;
}

// Whether text begins with one of the '|'-separated phrases (case-sensitive). An empty
// phrase, as a doubled or trailing '|' leaves, matches nothing.
static bool BeginsWithPhrase(std::string_view text, std::string_view phrases) {
  phrases = Trimmed(phrases);
  while (true) {
    const std::size_t bar = phrases.find('|');
    const std::string_view phrase = phrases.substr(0, bar);
    if (!phrase.empty() && text.starts_with(phrase))
      return true;
    if (bar == std::string_view::npos)
      return false;
    phrases.remove_prefix(bar + 1);
  }
}

int LineAnalyser::KeyPhraseHeading() {
  if (Type() != kTypeUntyped && Type() != kTypeNewParagraph)
    return 0;
  const TextString& policy = fc_.GetText(PolicyId::HeadingKeyPhrases);
  if (policy.IsEmpty() || line_.HasFlag(kFlagUserHtml | kFlagRollOut))
    return 0;
  // The phrases are read as a tag once per policy value, not for every line.
  if (!work_.keyPhraseSource.Equals(policy) || work_.keyPhraseSource.IsEmpty()) {
    work_.keyPhraseSource.Assign(policy);
    TextString tagText("HEADING_KEYPHRASES ");
    tagText.Append(policy);
    TextString keyword;
    TextString message;
    int level = -1;
    work_.keyPhrases.SetEmpty();
    if (RecogniseTag(fc_, ctx_, tagText, keyword, work_.keyPhrases, message, level) == 0)
      work_.keyPhrases.SetEmpty();
  }
  const std::string_view text = Trimmed(View(line_.GetTidy()));
  const int pairs = CountTagFields(work_.keyPhrases);
  for (int n = 1; n <= pairs; ++n) {
    if (!ReadTagText(work_.keyPhrases, n, work_.keyPhraseField))
      continue;
    std::string_view phrases;
    const int level = KeyPhraseLevel(View(work_.keyPhraseField), n, phrases);
    if (!BeginsWithPhrase(text, phrases))
      continue;
    if (level >= kLowestHeadingLevel && level <= kHighestHeadingLevel)
      return kTypeKeyPhraseHeading1 + level - 1;
    TextString& message = work_.scratch;
    message.Assign("WARNING: Ignoring \"Heading key phrases\" entry with a level outside 1-6 : \"");
    message.Append(work_.keyPhraseField);
    message.Append("\"");
    Report(message.GetText());
  }
  return 0;
}

bool LineAnalyser::EmbeddedHeading() {
  if (Policy(PolicyId::ExpectEmbeddedHeadings) == 0 ||
      line_.HasFlag(kFlagUserHtml | kFlagRollOut))
    return false;
  if (GetEmbeddedHeadingText(fc_, line_, work_.embeddedHeading) == 0)
    return false;
  if (analysisPass_) {
    ++Statistics().embeddedHeadings;
    return false;
  }
  SetType(kTypeEmbeddedHeading);
  return true;
}

bool LineAnalyser::HeadingOrBullet() {
  int heading = NumberedHeading();
  if (heading == 0)
    heading = AppendixHeading();
  if (heading == 0 && CapitalisedHeading())
    return true;
  if (heading == 0)
    heading = KeyPhraseHeading();
  if (heading == 0 && EmbeddedHeading())
    return true;
  int bullet = 0;
  if (!effectiveRecord_.rollOut && Policy(PolicyId::LookForBullets) != 0)
    bullet = line_.DetectBullet(fc_, ctx_.Statistics);

  if (heading != 0) {
    SetType(heading);
    fc_.GetHeadingState().lastHeadingType = heading;
    line_.SetFlag(kFlagPreformatted | kFlagMailHeader, false);
    line_.SetPreformattedKind(0);
    FileControl::HeadingState& state = fc_.GetHeadingState();
    if (ctx_.OutputPass != 0 && (IsLevelHeadingType(heading) || IsUnderlinedHeadingType(heading)) &&
        state.contentsSearchClosed == 0) {
      state.inContentsList = 0;
      state.contentsListEnded = 1;
      line_.SetFlag(kFlagContentsList, false);
    }
    if (effectiveRecord_.type == kTypeLine)
      Retype(effectiveRecord_, kTypeHeaderNull);
    if (analysisPass_ && Policy(PolicyId::UseFirstHeadingAsTitle) != 0 &&
        ctx_.FirstHeadingText.IsEmpty()) {
      const LineWords words = WordsOf(View(line_));
      const std::string_view rest =
          words.secondColumn < 0 ? std::string_view()
                                 : LeftTrimmed(View(line_)).substr(
                                       static_cast<std::size_t>(words.secondColumn));
      AssignView(ctx_.FirstHeadingText, Trimmed(rest));
    }
    return true;
  }
  if (bullet == 0)
    return false;
  SetType(bullet);
  line_.SetFlag(kFlagPreformatted, false);
  line_.SetPreformattedKind(0);
  (void)MarkBulletBlankLines(fc_, line_);
  return true;
}

// ---- Steps 30-41: the classes of untyped lines ----

void LineAnalyser::Definition() {
  if (tracker_->Allows(Permission::Definitions) == 0 || !detectors_.definitions)
    return;
  if (TestDefinitionLine(fc_, line_, effectiveRecord_.type) == kTypeDefinition)
    SetType(kTypeDefinition);
}

void LineAnalyser::QuotedText() {
  if (tracker_->Allows(Permission::QuotedText) == 0 ||
      Policy(PolicyId::LookForQuotedText) == 0 || !Untyped())
    return;
  constexpr std::size_t kQuoteSpan = 10;
  const std::string_view text = Trimmed(View(line_.GetTidy()));
  const std::size_t quote = text.substr(0, std::min(kQuoteSpan, text.size())).find('>');
  bool quotes = true;
  if (quote != std::string_view::npos) {
    const std::string_view before = text.substr(0, quote);
    // An arrow ("->", ":>") or the end of a tag is no quotation mark.
    if (before.find('<') != std::string_view::npos ||
        (quote > 0 && (text[quote - 1] == '-' || text[quote - 1] == ':')))
      quotes = false;
  }
  if (!quotes)
    return;
  const bool marked = quote != std::string_view::npos && quote <= 4 &&
                      static_cast<int>(quote) < line_.GetFirstWordLength();
  const bool opens = !text.empty() && (text[0] == '!' || text[0] == ']');
  if (!marked && !opens)
    return;
  if (text.size() == 1 && effectiveRecord_.type != kTypeQuoted &&
      (next_ == nullptr || next_->IsEmpty()))
    return;
  SetType(kTypeQuoted);
}

void LineAnalyser::CodeSample() {
  if (tracker_->Allows(Permission::CodeSamples) == 0 || !detectors_.codeSamples)
    return;
  if (Type() != kTypeUntyped && Type() != kTypeQuoted)
    return;
  if (Policy(PolicyId::ExpectCodeSamples) == 0 && !analysisPass_)
    return;
  if (!LooksLikeSourceCode(line_.GetTidy(), false))
    return;
  if (analysisPass_) {
    ++Statistics().codeLines;
    return;
  }
  line_.SetFlag(kFlagPreformatted | kFlagSampleCode, true);
  line_.SetPreformattedKind(10);
}

// The single bullet character a line's first word is, or 0.
static char SingleBulletChar(const FileControl& fc, const LineWords& words) {
  if (words.first.size() != 1 || fc.IsBulletChar(words.first[0]) == 0)
    return 0;
  return words.first[0];
}

void LineAnalyser::HangingByIndent() {
  if (!Untyped() || Policy(PolicyId::NewParagraphOffset) >= 0 || effective_ == nullptr)
    return;
  const LineContext& eff = effectiveRecord_;
  if (eff.indent >= current_.indent || eff.isBullet)
    return;
  if (!(eff.type == kTypeUntyped || eff.type == kTypeLine || eff.type == kTypeDefinition ||
        eff.type == kTagLine || eff.rollOut))
    return;
  const LineWords words = WordsOf(View(*effective_));
  if (words.secondColumn < 0 || eff.indent + words.secondColumn != current_.indent)
    return;
  // A contents entry that ends in its page number is complete: a deeper entry below it
  // ("7. References ..... 6" over "   7.1. Normative ..... 6") is no continuation of it.
  if (EndsInDotLeaderPageNumber(View(*effective_)))
    return;
  const char bullet = SingleBulletChar(fc_, words);
  if (bullet == 0 || InUserRegion()) {
    if (Policy(PolicyId::LookForHangingParagraphs) == 0)
      return;
    if (beforeEffectiveRecord_.rollOut && beforeEffectiveRecord_.type != kTypeBlank)
      return;
    const char first = work_.leftTrimmed.CharAt(0);
    if (first == '=' || first == '-')
      return;
    const bool hangs = eff.type == kTypeUntyped || eff.type == kTypeDefinition ||
                       (eff.rollOut && (beforeEffectiveRecord_.type == kTypeBlank ||
                                        beforeEffectiveRecord_.type == kTypeUntyped));
    if (!hangs)
      return;
    Retype(effectiveRecord_, kTypeHangingParagraph);
    SetType(kTypeHangingContinuation);
    if (analysisPass_) {
      CalculationStatistics named = Statistics();
      ++named.hangingParas;
      named.hangingIndents.Add(current_.indent);
    }
    return;
  }
  if (tracker_->Allows(Permission::Lists) == 0 || Policy(PolicyId::LookForBullets) == 0)
    return;
  Retype(effectiveRecord_, kTypeBullet);
  SetType(kTypeBulletContinuation);
  if (analysisPass_)
    Statistics().bulletChars.Add(static_cast<unsigned char>(bullet));
}

void LineAnalyser::FixedHangingPositions() {
  if (InUserRegion() || work_.firstWord.IsEmpty() ||
      Policy(PolicyId::LookForHangingParagraphs) == 0)
    return;
  const FileControl::HangingPositions& hanging = fc_.GetHangingPositions();
  if (hanging.count <= 0 || work_.secondWordColumn < 0 ||
      work_.secondWordColumn <= work_.firstWord.GetLength() + 3)
    return;
  const int column = current_.indent + work_.secondWordColumn;
  for (int i = 0; i < hanging.count && i < FileControl::kMaxPositions; ++i) {
    if (hanging.positions[i] == column) {
      SetType(kTypeHangingParagraph);
      return;
    }
  }
}

bool LineAnalyser::Underline() {
  if (!detectors_.underlines)
    return false;
  FillLineContext(fc_, current_, &line_);
  // An underline that turns out pre-formatted withdraws an emphasis phrase closing on the
  // line, which puts its marks back into the text of lines above.
  if (line_.GetOutputMark(kEmphasisEndMark) != 0)
    scoreMeasure_.ForgetLineAbove();
  const int result =
      TestUnderlineLine(fc_, ctx_.Statistics, line_, beforeEffectiveRecord_, effectiveRecord_,
                        current_, nextRecord_, work_.firstWord.GetLength());
  if (result == kUnderlinesPrevious) {
    SetType(kTypeHeaderNull);
    return true;
  }
  if (result != kNotClassified)
    SetType(result);
  return false;
}

// The line reached from line by going back over bullet blank lines; null when none.
static PreHTML* BeforeBulletBlankLines(PreHTML* line) {
  while (line != nullptr && IsBulletBlankType(line->GetLineType()))
    line = AsLine(line->GetPrevious());
  return line;
}

void LineAnalyser::BulletContinuation() {
  if (!Untyped() || InUserRegion())
    return;
  const LineContext& eff = effectiveRecord_;
  const int indent = current_.indent;
  if (eff.isBullet) {
    // A bullet that ends in its page number after a dot leader is a contents entry ("D.
    // Changes .... 53"), whole on its line: the entry below it is no continuation.
    if (effective_ != nullptr && EndsInDotLeaderPageNumber(View(*effective_)))
      return;
    bool continues = indent >= eff.indent && eff.indent >= 0;
    if (eff.type != kTypeBulletContinuation && eff.type != kTypeBulletBlankWithComment &&
        Policy(PolicyId::ExpectBlankLinesBetweenParas) != 0 && indent == 0 &&
        eff.indent == Policy(PolicyId::NewParagraphOffset))
      continues = true;
    if (continues)
      SetType(kTypeBulletContinuation);
    return;
  }
  if (!eff.isBulletBlankLine)
    return;
  const PreHTML* bullet = BeforeBulletBlankLines(effective_);
  if (bullet == nullptr)
    return;
  const int type = bullet->GetLineType();
  if (IsMarkedBulletType(type)) {
    const LineWords words = WordsOf(View(*bullet));
    if (words.secondColumn < 0 || words.thirdColumn < 0)
      return;
    const int textColumn = bullet->GetIndent() + static_cast<int>(words.first.size()) +
                           words.thirdColumn - words.secondColumn;
    if (textColumn == indent + 4)
      SetType(kTypeBulletContinuation);
    return;
  }
  if ((type == kTypeBulletContinuation || type == kTypeBulletBlankWithComment) &&
      bullet->GetIndent() == indent)
    SetType(kTypeBulletContinuation);
}

// The heading level (0-5) of a numbered or underlined heading type, else -1.
static int JoinLevel(int type) {
  if (IsLevelHeadingType(type))
    return type - kTypeHeading1;
  if (IsUnderlinedHeadingType(type))
    return type - kTypeUnderlinedHeading1;
  return -1;
}

static bool IsJoinedIntoType(int type) {
  return IsLevelHeadingType(type) || IsUnderlinedHeadingType(type) ||
         IsContentsHeadingType(type) || type == kTypeIgnored || type == kTypeHeaderNull ||
         type == kTypeNull;
}

static void AppendJoined(TextString& into, const TextString& text) {
  into.AppendChar(' ');
  into.Append(text);
}

bool LineAnalyser::JoinIntoHeading() {
  if (!Untyped() || previous_ == nullptr || previousRecord_.type == kTypeHeaderNull)
    return false;
  const LineContext& eff = effectiveRecord_;
  if (effective_ == nullptr || !IsJoinedIntoType(eff.type))
    return false;
  // A contents entry that ends in its page number is whole: the line below is an entry of its
  // own ("Footnotes ..... 179" under "16.8  Equal-cost multipath ..... 178").
  if (EndsInDotLeaderPageNumber(View(*effective_)))
    return false;
  const LineWords words = WordsOf(View(*effective_));
  if (words.secondColumn < 0)
    return false;
  const int column = eff.indent + words.secondColumn;
  const int indent = current_.indent;
  if (std::abs(column - indent) >= 2)
    return false;
  if (!IsContentsHeadingType(eff.type)) {
    const bool lowerStart = IsAsciiLower(work_.leftTrimmed.CharAt(0)) && indent <= column;
    const bool bothUpper =
        line_.HasNoLowerCase() && effective_->HasNoLowerCase() && indent <= column;
    if (!(lowerStart || bothUpper) || eff.type == kTypeNull || eff.type == kTypeIgnored)
      return false;
  }
  PreHTML* heading = previous_;
  while (heading != nullptr && (heading->GetLineType() == kTypeIgnored ||
                                heading->GetLineType() == kTypeHeaderNull ||
                                heading->GetLineType() == kTypeNull))
    heading = AsLine(heading->GetPrevious());
  // Only a heading takes in the lines that continue it.
  if (heading == nullptr || !(IsLevelHeadingType(heading->GetLineType()) ||
                              IsUnderlinedHeadingType(heading->GetLineType()) ||
                              IsContentsHeadingType(heading->GetLineType())))
    return false;
  const int level = JoinLevel(heading->GetLineType());
  if (analysisPass_) {
    if (level >= 0)
      ++ctx_.Statistics.headings[static_cast<std::size_t>(level)].joinedLines;
    return false;
  }
  if (level >= 0 &&
      fc_.GetRecognisedHeadings().headings[static_cast<std::size_t>(level)].noJoin != 0)
    return false;
  AppendJoined(*heading, line_);
  AppendJoined(heading->GetMarkup(), line_.GetMarkup());
  AppendJoined(heading->GetTidy(), line_.GetTidy());
  AppendJoined(heading->GetPlain(), line_.GetPlain());
  AppendJoined(heading->GetRawCopy(), line_.GetRawCopy());
  line_.SetEmpty();
  line_.GetMarkup().SetEmpty();
  line_.GetTidy().SetEmpty();
  line_.GetPlain().SetEmpty();
  SetType(kTypeNull);
  return true;
}

void LineAnalyser::Continuation() {
  if (!Untyped())
    return;
  const LineContext& eff = effectiveRecord_;
  const int indent = current_.indent;
  const int offset = Policy(PolicyId::NewParagraphOffset);
  switch (eff.type) {
    case kTypeHangingParagraph: {
      const LineWords words = WordsOf(View(*effective_));
      if (indent > 0 && !InUserRegion() && words.secondColumn >= 0 &&
          eff.indent + words.secondColumn == indent) {
        SetType(kTypeHangingContinuation);
        return;
      }
      if (indent > 0 && eff.indent == indent)
        SetType(kTypeHangingContinuation);
      return;
    }
    case kTypeHangingContinuation:
      if (indent > 0 && eff.indent == indent)
        SetType(kTypeHangingContinuation);
      return;
    case kTypeDefinition:
    case kTypeDefinitionContinuation: {
      const bool continues = indent >= eff.indent ||
                             (eff.type == kTypeDefinitionContinuation && indent == 0 &&
                              eff.indent == offset);
      if (!continues)
        return;
      if (!InUserRegion() && line_.GetPreformattedKind() < 5)
        SetType(kTypeDefinitionContinuation);
      else if (InUserRegion() && eff.type == kTypeDefinition)
        Retype(previousRecord_, kTypeUntyped);
      return;
    }
    default:
      return;
  }
}

void LineAnalyser::RuleSetList() {
  if (fc_.GetRuleSet() == 0 || tracker_->openListCount <= 0)
    return;
  if (Type() == kTypeBlank) {
    SetType(kTypeBulletBlank);
    return;
  }
  if (!Untyped())
    return;
  SetType(kTypeBulletContinuation);
  if (effectiveRecord_.type != kTagListItem)
    return;
  TextString& word = work_.scratch;
  const int bullet = TidyBulletLine(fc_, ctx_, line_, 1, 1, 1, word);
  if (bullet != 0)
    SetType(bullet);
}

// The types after which an indented line opens a new paragraph.
static bool OpensParagraphAfter(int type) {
  return type == kTypeUntyped || type == kTypeBlank || type == kTypeNewParagraph ||
         IsLevelHeadingType(type) || IsUnderlinedHeadingType(type) ||
         type == kTypeCapitalisedHeading || type == kTypeEmbeddedHeading ||
         IsKeyPhraseHeadingType(type) || IsContentsHeadingType(type) ||
         type == kTypeBulletBlank || type == kTypeBulletBlankWithTags ||
         type == kTypeDefinition;
}

void LineAnalyser::NewParagraph() {
  if (!Untyped() || Policy(PolicyId::LookForWhiteSpace) == 0)
    return;
  const LineContext& eff = effectiveRecord_;
  const int indent = current_.indent;
  const int offset = Policy(PolicyId::NewParagraphOffset);
  const bool blankLines = Policy(PolicyId::ExpectBlankLinesBetweenParas) != 0;
  const bool shifted = (indent != eff.indent && eff.type != kTypeNewParagraph && offset >= 1 &&
                        previous_ != nullptr) ||
                       (!blankLines && eff.type == kTypeNewParagraph && indent == eff.indent);
  if (!shifted || !(eff.indent == 0 || eff.indent == offset))
    return;
  const int previousType = previousRecord_.type;
  if (!(previous_ != nullptr && (previousType == kTypeIgnored || previousType == kTypeHeaderNull ||
                                 previousType == kTypeNull)) &&
      !OpensParagraphAfter(eff.type))
    return;
  if (indent < 1 || indent > 9)
    return;
  if (next_ != nullptr) {
    const int nextIndent = nextRecord_.indent;
    const bool nextBack = nextIndent < indent && nextIndent >= 0;
    const bool allEqual = nextIndent == indent && indent == offset && offset >= 1;
    if (!nextBack && !allEqual)
      return;
  }
  SetType(eff.type == kTypeHangingParagraph ? kTypeHangingContinuation : kTypeNewParagraph);
}

void LineAnalyser::LongToShort() {
  if (!Untyped() || Policy(PolicyId::ExpectBlankLinesBetweenParas) != 0 || next_ == nullptr ||
      effective_ == nullptr)
    return;
  const int limit = Policy(PolicyId::PageWidth) * 2 / 3;
  const auto length = [](const PreHTML& line) {
    return static_cast<int>(Trimmed(View(line.GetTidy())).size());
  };
  if (length(line_) < limit && length(*effective_) > limit)
    next_->SetLineType(kTypeNewParagraph);
}

void LineAnalyser::ShortLine() {
  if (Policy(PolicyId::LookForShortLines) == 0)
    return;
  const int length = static_cast<int>(Trimmed(View(line_.GetTidy())).size());
  const int width = Policy(PolicyId::PageWidth);
  const int shortLength = Policy(PolicyId::ShortLineLength);
  if (2 * length < width || (Policy(PolicyId::KeepItSimple) != 0 && 4 * length < 3 * width) ||
      (shortLength > 0 && length <= shortLength))
    line_.SetFlag(kFlagShortLine, true);
}

// ---- Steps 43-48: the line's last touches ----

static bool BecomesParagraph(int type) {
  switch (type) {
    case kTypeUntyped:
    case kTypeHangingParagraph:
    case kTypeHangingContinuation:
    case kTypeNumberedParagraph:
    case kTypeBulletContinuation:
    case kTypeSeparator:
    case kTypeDefinition:
    case kTypeDefinitionContinuation:
      return true;
    default:
      return false;
  }
}

void LineAnalyser::Finish() {
  if (Policy(PolicyId::TreatEachLineAsAParagraph) != 0 && BecomesParagraph(Type()))
    SetType(kTypeNewParagraph);
  if (Policy(PolicyId::PreserveLineStructure) != 0)
    line_.SetFlag(kFlagPreserveStructure, true);
  ReviewPreformattedMark(fc_, line_, effective_, &scoreMeasure_);
  if (effective_ != nullptr && Type() == kTypeUntyped &&
      effective_->GetLineType() == kTypeQuoted && beforeEffective_ != nullptr &&
      beforeEffective_->GetLineType() == kTypeUntyped)
    effective_->SetLineType(kTypeUntyped);
}

void LineAnalyser::RollOut() {
  if (!detectors_.preformatted || Policy(PolicyId::LookForPreformattedText) == 0 ||
      analysisPass_ || contentsPass_ || line_.HasFlag(kFlagUserRegion | kFlagUserHtml))
    return;
  if (line_.HasFlag(kFlagRollOut)) {
    line_.ReviewRollOutLine(fc_, ctx_);
    return;
  }
  if (effective_ != nullptr && effective_->HasFlag(kFlagRollOut) &&
      !effective_->HasFlag(kFlagUserRegion))
    effective_->ReviewRollOutLine(fc_, ctx_);
}

// ---- The road ----

void LineAnalyser::Run() {
  Prepare();
  if (BlockDirectives() || Type() == kTypeNull || Type() == kTypeIgnored)
    return;
  UpdateTracker();
  ConvertDosCharacters();
  FindHeadingTag();
  if (LineNumberOf(line_.GetStartPosition()) < 1)
    Report("PROGRAM ERROR: Invalid Source line Number!!");
  SplitWords();
  if (ctx_.IsOutputStage() && Policy(PolicyId::LookForThisAndThatEmphasis) != 0 &&
      !line_.IsEmpty() && !line_.HasFlag(kFlagUserHtml | kFlagRollOut) &&
      (line_.ContainsChar('_') || line_.ContainsChar('*')))
    MarkEmphasis(fc_, ctx_, line_);
  TakeTitles();
  BuildContexts();
  if (TaggedLine() || UntaggedLine() || BlankLine() || FormFeed())
    return;
  ContentsList();
  ChangeBar();
  PreformattedMark();
  MailHeader();
  MailBlockEnd();
  Centring();
  if (HeadingOrBullet() || !Untyped())
    return;
  Definition();
  QuotedText();
  CodeSample();
  HangingByIndent();
  FixedHangingPositions();
  if (Underline())
    return;
  BulletContinuation();
  if (JoinIntoHeading())
    return;
  Continuation();
  RuleSetList();
  NewParagraph();
  LongToShort();
  ShortLine();
  Finish();
  RollOut();
}

}  // namespace

int PreHTML::AnalyseLine(FileControl& fc, Context& ctx) {
  if (ctx.GetOutputType() == kOutputPlainText) {
    SetLineType(kTypeUntyped);
    return GetLineType();
  }
  // The checks the analysis calls find the pass's tracker through the code location.
  const int savedLocation = ctx.CodeLocation;
  ctx.CodeLocation = ctx.AnalysisPass != 0   ? kLocationAnalysis
                     : ctx.ContentsPass != 0 ? kLocationContents
                                             : kLocationOutput;
  LineAnalyser(*this, fc, ctx).Run();
  ctx.LineStage = kLineStageNone;
  ctx.CodeLocation = savedLocation;
  return GetLineType();
}
