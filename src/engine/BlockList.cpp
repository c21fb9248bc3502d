#include "engine/BlockList.h"

#include <span>

#include "engine/Context.h"
#include "engine/TagList.h"
#include "policy/FileControl.h"

BlockList::~BlockList() = default;

namespace {
// One block code and the text that marks it, opening or closing.
struct BlockMark {
  int code;
  const char* text;
};
}  // namespace

// Opening forms in the order they are tried; the heading test runs first and the indent
// form (code 8) after the list item.
// clang-format off
static constexpr BlockMark kOpeningMarks[] = {
    {kBlockParagraph, "<P"},  // also "<PRE": a substring test
    {kBlockTable, "<TABLE"},
    {kBlockDefinitionList, "<DL"},
    {kBlockUnorderedList, "<UL"},  // after the indent form, which may be a dummy list
    {kBlockOrderedList, "<OL"},
    {kBlockBody, "<BODY"},
};
static constexpr BlockMark kClosingMarks[] = {
    {kBlockParagraph, "</P"},
    {kBlockTable, "</TABLE"},
    {kBlockDefinitionList, "</DL"},
    {kBlockUnorderedList, "</UL"},
    {kBlockOrderedList, "</OL"},
    {kBlockBody, "</BODY"},
};
// clang-format on

// Encodings of right-to-left scripts: their body is wrapped in a DIV that the body's end
// tag must close first.
static constexpr const char* kRightToLeftEncodings[] = {"windows-1256", "ar-sy", "iso-8859-8"};

static int FirstMark(const TextString& text, std::span<const BlockMark> marks) {
  for (const BlockMark& mark : marks) {
    if (text.ContainsNoCase(mark.text)) return mark.code;
  }
  return kBlockNone;
}

// The indent form is tested only when indent markup is in force: "<" alone would match
// every tag.
static bool HasIndentForm(const TextString& text, const TextString& indentForm, int markupLength) {
  return markupLength > 0 && text.ContainsNoCase(indentForm.GetText());
}

int ClassifyBlockTag(const FileControl& control, BlockList& blocks, const TextString* openingText,
                     const TextString* closingText) {
  const TextString& openMarkup = control.GetIndentOpenMarkup();
  const TextString& closeMarkup = control.GetIndentCloseMarkup();
  blocks.indentOpenText_.Assign("<");
  blocks.indentOpenText_.Append(openMarkup);
  blocks.indentCloseText_.Assign("</");
  blocks.indentCloseText_.Append(closeMarkup);
  if (openingText != nullptr) {
    const TextString& text = *openingText;
    if (text.ContainsNoCase("<H")) return kBlockHeading;
    if (text.ContainsNoCase("<LI")) return kBlockListItem;
    if (HasIndentForm(text, blocks.indentOpenText_, openMarkup.GetLength())) return kBlockIndent;
    const int code = FirstMark(text, kOpeningMarks);
    if (code != kBlockNone) return code;
  }
  if (closingText == nullptr) return kBlockNone;
  const TextString& text = *closingText;
  if (text.ContainsNoCase("</H")) return kBlockHeading;
  if (text.ContainsNoCase("</LI")) return kBlockListItem;
  if (HasIndentForm(text, blocks.indentCloseText_, closeMarkup.GetLength())) return kBlockIndent;
  return FirstMark(text, kClosingMarks);
}

BlockRecord& BlockList::Push(int code, const TextString& tagText) {
  auto block = std::make_unique<BlockRecord>();
  block->code = code;
  block->tagText = tagText;
  blocks_.push_back(std::move(block));
  return *blocks_.back();
}

// A dummy list that stands in for an indent may be closed by a plain list end tag.
static bool IsDummyListClosingIndent(const FileControl& control, int endCode, int blockCode) {
  return endCode == kBlockUnorderedList && blockCode == kBlockIndent &&
         control.GetIndentOpenMarkup().Compare("UL DUMMY", 0, 0);
}

int BlockList::CheckEndTag(FileControl& control, TextString& endTag) {
  if (control.GetInt(PolicyId::IndentationMarkupCode) == -1) {
    endTag.ReplaceAll("/UL DUMMY", "/UL", 1, 1);
  }
  const BlockRecord& innermost = *blocks_.back();
  const int code = ClassifyBlockTag(control, *this, nullptr, &endTag);
  if (code == innermost.code || IsDummyListClosingIndent(control, code, innermost.code)) {
    return code;
  }
  TextString message("PROGRAM ERROR: Requested end tag ");
  message.Append(endTag);
  message.Append(" doesn't match block tag :");
  message.Append(innermost.tagText);
  control.ReportMessage(message.GetText(), 10);
  return code;
}

static bool IsRightToLeftEncoding(const TextString& encoding) {
  for (const char* name : kRightToLeftEncodings) {
    if (encoding.Compare(name, 0, 0)) return true;
  }
  return false;
}

int BlockList::Add(FileControl& control, Statement* /*line*/, BlockTagWriter* file,
                   const TextString& endTag) {
  if (blocks_.empty()) return 0;
  if (file == nullptr) {
    control.ReportMessage("PROGRAM ERROR: File pointer null in BlockList::Add", 10);
    return 0;
  }
  TextString tag(endTag);
  const int code = CheckEndTag(control, tag);
  TextString written;
  if (code == kBlockBody && IsRightToLeftEncoding(control.GetText(PolicyId::CharacterEncoding))) {
    written.Assign("</DIV>");
  }
  written.Append(tag);
  const int result = file->WriteBlockTag(control, written.GetText());
  if (Context* context = control.pGetContext(); context != nullptr) context->EndTagWritten = 1;
  blocks_.pop_back();
  return result;
}

int BlockList::Decrement(FileControl& control, Statement* line, BlockTagWriter* file,
                         const TextString& endTag) {
  if (file == nullptr) {
    control.ReportMessage("PROGRAM ERROR: File pointer null in BlockList::Decrement", 10);
    return 0;
  }
  if (blocks_.empty()) return 0;
  TextString tag(endTag);
  (void)CheckEndTag(control, tag);
  const BlockRecord& innermost = *blocks_.back();
  if (innermost.handOutward != 0 && blocks_.size() > 1) {
    BlockRecord& enclosing = *blocks_[blocks_.size() - 2];
    enclosing.handOutward = 1;
    enclosing.font = innermost.font;
  }
  return Add(control, line, file, endTag);
}

void BlockList::Clear() { blocks_.clear(); }

BlockRecord* BlockList::GetItem(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return blocks_[static_cast<std::size_t>(i)].get();
}

BlockRecord* BlockList::pGetInnermost() const {
  return blocks_.empty() ? nullptr : blocks_.back().get();
}
