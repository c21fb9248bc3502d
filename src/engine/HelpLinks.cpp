#include "engine/HelpLinks.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/FontSpec.h"

namespace {

void AppendInt(TextString& out, long long value) {
  out.AppendNumber('1', static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)), 0);
}

// Four lower-case hexadecimal digits (more when the value needs them).
void AppendHex4(TextString& out, unsigned value) {
  // Written by hand: a data field holds four digits per byte of its texts, and the library's
  // formatting costs far more than the digits.
  static constexpr char kDigits[] = "0123456789abcdef";
  char digits[16];
  int count = 0;
  for (unsigned rest = value; rest != 0 || count < 4; rest >>= 4)
    digits[count++] = kDigits[rest & 0xFu];
  char* const begin = digits;
  std::reverse(begin, begin + count);
  out.AppendBytes(digits, count);
}

// A length + 1 in the data field: only its low byte once it passes 255.
void AppendLengthHex(TextString& out, int lengthPlusOne) {
  const unsigned value = static_cast<unsigned>(lengthPlusOne);
  AppendHex4(out, lengthPlusOne > 255 ? value & 0xFFu : value);
}

// Each byte of text as four hexadecimal digits.
void AppendBytesHex(TextString& out, const TextString& text) {
  for (int i = 0; i < text.GetLength(); ++i)
    AppendHex4(out, static_cast<unsigned char>(text.CharAt(i)));
}

// ---- Links ----

// The target is a plausible internet host (the Context's host check for http).
bool ResolvesAsLink(FileControl& fc, const TextString& target) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return false;
  TextString corrected;
  int changed = 0;
  return ctx->IsValidDomain(target, 0, corrected, changed) != 0;
}

// The point size of link text: "Default font"'s when set, else "Base FONT Size in pts",
// then "Delta FONT size in pts" added.
long long LinkPointSize(const FileControl& fc) {
  TextString face;
  int bold = 0;
  int italic = 0;
  int size = 0;
  if (!fc.IsSet(PolicyId::DefaultFont) ||
      !ParseFontSpec(face, bold, italic, size, fc.GetText(PolicyId::DefaultFont)))
    size = fc.GetInt(PolicyId::BaseFONTSizeInPts);
  return static_cast<long long>(size) + fc.GetInt(PolicyId::DeltaFONTSizeInPts);
}

constexpr const char* kLinkClassId = "c9ea79f9bace118c8200aa004ba9";

void AppendDataField(int kind, const TextString& target, const TextString& text,
                     TextString& out) {
  out.Append("{\\*\\datafield ");
  if (kind == 1) {
    out.Append("08d0");
    out.Append(kLinkClassId);
    out.Append("0b0200000008");
    out.Append("0000");
    AppendLengthHex(out, target.GetLength() + 1);
    out.Append("0000");
    AppendBytesHex(out, target);
    out.Append("000000000000");
  } else {
    out.Append("00d0");
    out.Append(kLinkClassId);
    out.Append("0b0200000017");
    out.Append("0000");
    AppendLengthHex(out, text.GetLength() + 1);
    out.Append("0000");
    AppendBytesHex(out, text);
    out.Append("000000e0");
    out.Append(kLinkClassId);
    AppendHex4(out, static_cast<unsigned>(2 * target.GetLength() + 2818));
    out.Append("0000");
    AppendBytesHex(out, target);
    out.Append("000000000000");
  }
  out.AppendChar('}');
}

bool IsAsciiLetterOrDigit(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

constexpr int kMaxTopicIdLength = 40;

}  // namespace

// ---- Help topics and links ----

void MakeHelpTopicId(TextString& text) {
  text.ReplaceAll("\\'7b", "_", 0, 1);
  text.ReplaceAll("\\'7d", "_", 0, 1);
  char* buffer = text.GetBuffer();
  for (int i = 0; i < text.GetLength(); ++i) {
    if (!IsAsciiLetterOrDigit(static_cast<unsigned char>(buffer[i]))) buffer[i] = '_';
  }
  if (text.GetLength() <= kMaxTopicIdLength) return;

  // Squares summed in unsigned arithmetic, which wraps where a signed sum would overflow,
  // then read as a signed 32-bit number (so the identifier may end in "_-123...").
  std::uint32_t sum = 0;
  for (int k = 0; k < text.GetLength(); ++k) {
    const std::uint32_t term = 11u * static_cast<std::uint32_t>(k) +
                               static_cast<unsigned char>(text.CharAt(k));
    sum += term * term;
  }
  TextString checksum;
  checksum.AppendNumber('1', static_cast<std::int32_t>(sum), 0);
  text.Truncate(kMaxTopicIdLength - 1 - checksum.GetLength());
  text.AppendChar('_');
  text.Append(checksum);
}

void BuildHelpLink(FileControl& fc, int kind, bool plain, const TextString& target,
                   const TextString& text, TextString& out) {
  switch (kind) {
    case 1: {
      TextString topic(target);
      MakeHelpTopicId(topic);
      TextString shown(text);
      shown.Trim();
      out.Assign(plain ? "{\\ul " : "{\\uldb ");
      out.Append(shown);
      out.Append("}{\\v ID_");
      out.Append(topic);
      out.AppendChar('}');
      return;
    }
    case 2:
      if (!ResolvesAsLink(fc, target)) {
        out.Assign(text);
        return;
      }
      out.Assign("{\\ul\\cf2 ");
      out.Append(text);
      out.Append("}{\\v *!EF(`");
      out.Append(target);
      out.Append("}{\\v\\cf1 ',}{\\v `',1,`')}");
      return;
    case 3:
    case 4: BuildHyperlinkField(fc, kind, target, text, out); return;
    default: out.Assign(text); return;
  }
}

void BuildHyperlinkField(FileControl& fc, int kind, const TextString& target,
                         const TextString& text, TextString& out) {
  if (kind < 1 || kind > 4 || (kind == 2 && !ResolvesAsLink(fc, target))) {
    out.Assign(text);
    return;
  }
  TextString link(target);
  if (kind == 1) MakeHelpTopicId(link);
  TextString size;
  AppendInt(size, 2 * LinkPointSize(fc));

  out.Assign("{\\field{\\*\\fldinst {\\fs");
  out.Append(size);
  out.AppendChar(' ');
  // The switch \l (a bookmark of this document) is instruction text, written "\\l" with its
  // backslash escaped.
  out.Append(kind == 1 ? " HYPERLINK  \\\\l \"" : " HYPERLINK ");
  out.Append(link);
  out.Append(kind == 1 ? "\" }" : " }");
  out.Append("{\\kerning0 ");
  AppendDataField(kind, link, text, out);
  out.Append("}}{\\fldrslt {\\cs32\\ul\\cf2\\fs");
  out.Append(size);
  out.AppendChar(' ');
  out.Append(text);
  out.Append("}}}");
}
