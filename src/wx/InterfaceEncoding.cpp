#include "wx/InterfaceEncoding.h"

#include "text/CodePageText.h"

// The length of the well-formed UTF-8 sequence of two to four bytes at text[at]; 0 when none
// starts there.
static std::size_t Utf8SequenceAt(std::string_view text, std::size_t at) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size())
    return 0;
  if (byte(at + 1) < low || byte(at + 1) > high)
    return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
      return 0;
  }
  return length;
}

std::string InterfaceTextToUtf8(std::string_view text, int codePage) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  std::size_t at = 0;
  while (at < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++at;
      continue;
    }
    if (const std::size_t length = Utf8SequenceAt(text, at)) {
      out.append(text.substr(at, length));
      at += length;
      continue;
    }
    AppendCodePageByteAsUtf8(out, c, codePage);
    ++at;
  }
  return out;
}
