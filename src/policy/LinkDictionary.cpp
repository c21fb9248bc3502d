#include "policy/LinkDictionary.h"

#include "policy/ErrorHandler.h"
#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "policy/PolicyContext.h"
#include "text/JParser.h"
#include "text/ProductIdentity.h"
#include "text/ProtectedSpans.h"
#include "text/RtfEscapes.h"
#include "text/TextFile.h"

LinkDictionary::LinkDictionary() = default;

LinkDictionary::~LinkDictionary() = default;

// The output format of the policy set's conversion; this program writes RTF, also when no
// Context is attached (a policy set of the dictionary editor).
static int OutputTypeOf(const FileControl& fc) {
  const PolicyContext* ctx = fc.pGetPolicyContext();
  return ctx != nullptr ? ctx->GetOutputType() : kOutputRtf;
}

// Escapes text for the output format, as search texts and replacements are stored.
static void EscapeForOutput(FileControl& fc, TextString& text) {
  const int outputType = OutputTypeOf(fc);
  if (outputType == kOutputRtf) {
    EscapeRtfText(text);
    return;
  }
  if (PolicyContext* ctx = fc.pGetPolicyContext())
    ctx->EncodeForOutput(fc, text);
  if (outputType == kOutputHtml) {
    text.ReplaceAll("<", "&lt;", 0, 1);
    text.ReplaceAll(">", "&gt;", 0, 1);
  }
}

const LinkEntry* LinkDictionary::pGetEntry(int index) const {
  if (index < 0 || index >= GetCount())
    return nullptr;
  return entries_[static_cast<std::size_t>(index)].get();
}

int LinkDictionary::FindMatch(const TextString& match) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (entries_[static_cast<std::size_t>(i)]->match.EqualsText(match, 0, 0))
      return i;
  }
  return -1;
}

// Match and replacement of a new or changed definition with their escaped forms. The
// replacement is kept as given, so a copied or written dictionary holds the user's text; only
// the shown form carries the escapes of the output format.
static void SetDefinitionTexts(FileControl& fc, LinkEntry& entry, const TextString& trimmedMatch,
                               const TextString& replacement) {
  entry.match = trimmedMatch;
  entry.replacement = replacement;
  entry.shown = replacement;
  entry.search = trimmedMatch;
  EscapeForOutput(fc, entry.search);
  EscapeForOutput(fc, entry.shown);
  if (OutputTypeOf(fc) == kOutputHtml) {
    entry.match.ReplaceAll("<", "&lt;", 0, 1);
    entry.match.ReplaceAll(">", "&gt;", 0, 1);
  }
}

int LinkDictionary::AddOrUpdate(FileControl& fc, const TextString& match,
                                const TextString& replacement, const TextString& address,
                                const TextString& anchorText, int occurrence, int column) {
  TextString trimmed(match);
  trimmed.Trim();
  if (trimmed.IsEmpty() || replacement.IsEmpty() || address.IsEmpty())
    return 0;
  const int active = anchorText.IsEmpty() ? 1 : 0;
  const int existing = active != 0 ? FindMatch(trimmed) : -1;
  if (existing >= 0) {
    TextString& message = fc.GetMessageText();
    message.Assign("INFO: Link definition being updated for \"");
    message.Append(replacement);
    message.AppendChar('"');
    fc.ReportMessage(message.GetText(), 4);
    LinkEntry& entry = *entries_[static_cast<std::size_t>(existing)];
    // An update is escaped as an insertion is, so a second definition holding "{", "}" or
    // "\" cannot break the RTF around its link.
    entry.replacement = replacement;
    entry.shown = replacement;
    EscapeForOutput(fc, entry.shown);
    entry.address = address;
    entry.anchorText = anchorText;
    entry.occurrence = occurrence;
    entry.sourceColumn = column;
    if (entry.active == 0) {
      entry.active = 1;
      --inactiveCount_;
      ++activeCount_;
    }
    built_ = false;  // the scanner still holds the old link
    return 1;
  }

  auto entry = std::make_unique<LinkEntry>();
  entry->active = active;
  SetDefinitionTexts(fc, *entry, trimmed, replacement);
  entry->address = address;
  entry->anchorText = anchorText;
  entry->occurrence = occurrence;
  entry->sourceColumn = column;
  if (active == 0) {
    if (PolicyContext* ctx = fc.pGetPolicyContext()) {
      entry->recorded = ctx->GetPassPosition(ctx->CodeLocation);
      entry->recorded.SetColumn(entry->recorded.GetColumn() + 1);
    }
  }
  entries_.push_back(std::move(entry));
  if (active != 0)
    ++activeCount_;
  else
    ++inactiveCount_;
  built_ = false;  // the scanner lacks the new entry
  return 1;
}

int LinkDictionary::ParseDefinition(FileControl& fc, const TextString& line, int rebuild) {
  TextString match;
  TextString replacement;
  TextString address;
  (void)line.GetField(2, '"', match);
  (void)line.GetField(4, '"', replacement);
  (void)line.GetField(6, '"', address);
  const int result = AddOrUpdate(fc, match, replacement, address, TextString(), -1, -1);
  // A definition read while a pass runs is linked from the next line on.
  const PolicyContext* ctx = fc.pGetPolicyContext();
  if (rebuild != 0 && result != 0 && ctx != nullptr && ctx->CodeLocation != kLocationNone &&
      scanner_ != nullptr)
    BuildScanner(fc);
  return result;
}

static bool IsSectionLine(const TextString& line) {
  return line.CharAt(0) == '[' && line.EndsWith("]", 1);
}

int LinkDictionary::LoadFile(FileControl& fc, const TextString& fileName, TextString* errorText) {
  TextFile file;
  if (!file.OpenForRead(fileName.GetText(), 0)) {
    TextString& message = fc.GetMessageText();
    message.Assign("** Failed to open Link Dictionary file ");
    message.Append(fileName);
    message.Append(" ***");
    if (errorText != nullptr)
      errorText->Assign(message);
    fc.ReportMessage(message.GetText(), 10);
    return 0;
  }
  PolicySetReporter reporter(fc);
  KeyValueLine split(&reporter);
  int result = 1;
  TextString line;
  int overLong = 0;
  while (file.ReadLine(line, &overLong)) {
    line.Trim(0, " \r\n");
    if (line.IsEmpty() || line.CharAt(0) == '!' || IsSectionLine(line))
      continue;
    ParseKeyValueLine(split, &reporter, 0, line);
    if (ParseDefinition(fc, line, 0) != 0)
      continue;
    TextString& message = fc.GetMessageText();
    message.Assign("POLICY: Ignored - \\");
    message.Append(line);
    message.AppendChar('\\');
    if (errorText != nullptr)
      errorText->Assign(message);
    fc.ReportMessage(message.GetText(), 10);
    result = 0;
  }
  file.CloseAll();
  return result;
}

int LinkDictionary::Write(const TextString& fileName, TextFile& writer) const {
  const bool opened = !writer.IsOpen();
  if (opened && (fileName.IsEmpty() || !writer.OpenForWrite(fileName.GetText(), 0, 0)))
    return 0;
  int result = 1;
  TextString line;
  for (const auto& entry : entries_) {
    if (entry->active == 0)
      continue;
    line.Assign("Link definition: \"");
    line.Append(entry->match);
    line.Append("\" = \"");
    line.Append(entry->replacement);
    line.Append("\" + \"");
    line.Append(entry->address);
    line.AppendChar('"');
    if (!writer.WriteString(line))
      result = 0;
  }
  if (opened)
    writer.CloseAll();
  return result;
}

void LinkDictionary::BuildScanner(FileControl& fc) {
  scanner_ = std::make_unique<JParser>();
  PolicyContext* ctx = fc.pGetPolicyContext();
  const int outputType = OutputTypeOf(fc);
  const bool helpLinks = fc.GetInt(PolicyId::MakeWindowsHelpSourceFile) != 0;
  for (const auto& entry : entries_) {
    if (entry->active == 0)
      continue;
    switch (outputType) {
      case kOutputRtf:
        // Without a conversion no address can be checked as a host: the text alone.
        if (ctx != nullptr)
          ctx->BuildAddressLink(fc, helpLinks, entry->address, entry->shown, markup_);
        else
          markup_ = entry->shown;
        break;
      case kOutputPlainText:
        markup_.SetEmpty();
        break;
      default:
        markup_ = entry->shown;
        break;
    }
    // A match that is no valid pattern is left out; its text stays as written.
    (void)scanner_->AddPatternShort(kJReplace, entry->match.GetText(), markup_.GetText(), 1);
  }
  built_ = true;
}

bool LinkDictionary::LinkPiece(const char* piece, int length, TextString& out) {
  if (length <= 0)
    return false;
  if (scanner_->Scan(piece, nullptr, length) <= 0) {
    piece_.AssignBytes(piece, length);
    out.Append(piece_);
    return false;
  }
  out.Append(scanner_->GetResultText());
  return true;
}

int LinkDictionary::Apply(FileControl& fc, const TextString& text, TextString& result) {
  if (activeCount_ == 0 || text.IsEmpty()) {
    result = text;
    return 1;
  }
  if (!built_)
    BuildScanner(fc);
  ProtectedSpanFinder spans(text, fc.GetText(PolicyId::StartTagDelimiter),
                            fc.GetText(PolicyId::EndTagDelimiter));
  linked_.SetEmpty();
  bool changed = false;
  int at = 0;
  int start = 0;
  int end = 0;
  while (at < text.GetLength() && spans.Next(at, start, end)) {
    changed = LinkPiece(text.GetText() + at, start - at, linked_) || changed;
    piece_.AssignBytes(text.GetText() + start, end - start);
    linked_.Append(piece_);
    at = end;
  }
  changed = LinkPiece(text.GetText() + at, text.GetLength() - at, linked_) || changed;
  result = changed ? linked_ : text;
  return changed ? 1 : 0;
}

int LinkDictionary::RestoreAnchors(FileControl& /*fc*/, const TextPosition& /*position*/,
                                   const TextString& lineText, int /*occurrenceOverride*/,
                                   int /*firstColumn*/, int /*lastColumn*/,
                                   const TextString& /*sourceText*/, TextString& result) {
  result = lineText;
  return 1;
}

void LinkDictionary::AddAll(FileControl& fc, const LinkDictionary& other) {
  if (&other == this)
    return;
  for (const auto& entry : other.entries_)
    (void)AddOrUpdate(fc, entry->match, entry->replacement, entry->address, entry->anchorText,
                      -1, -1);
}

void LinkDictionary::Clear() {
  entries_.clear();
  scanner_.reset();
  built_ = false;
  activeCount_ = 0;
  inactiveCount_ = 0;
}

int LinkDictionary::Find(const TextString& match, const TextString& replacement,
                         const TextString& address) const {
  for (int i = 0; i < GetCount(); ++i) {
    const LinkEntry& entry = *entries_[static_cast<std::size_t>(i)];
    if (entry.match.EqualsText(match, 0, 0) && entry.replacement.EqualsText(replacement, 1, 0) &&
        entry.address.EqualsText(address, 1, 0))
      return i;
  }
  return -1;
}

int LinkDictionary::RemoveAt(int index) {
  if (index < 0 || index >= GetCount())
    return 0;
  const auto at = entries_.begin() + index;
  if ((*at)->active != 0)
    --activeCount_;
  else
    --inactiveCount_;
  entries_.erase(at);
  built_ = false;  // the scanner still links the removed entry
  return 1;
}

int LinkDictionary::SetEntryTexts(FileControl& fc, int index, const TextString& match,
                                  const TextString& replacement, const TextString& address) {
  if (index < 0 || index >= GetCount())
    return 0;
  LinkEntry& entry = *entries_[static_cast<std::size_t>(index)];
  TextString trimmed(match);
  trimmed.Trim();
  if (entry.active == 0 || trimmed.IsEmpty() || replacement.IsEmpty() || address.IsEmpty())
    return 0;
  SetDefinitionTexts(fc, entry, trimmed, replacement);
  entry.address = address;
  built_ = false;  // the scanner still holds the old link
  return 1;
}

int LinkDictionary::Remove(const TextString& match, const TextString& replacement,
                           const TextString& address) {
  return RemoveAt(Find(match, replacement, address));
}
