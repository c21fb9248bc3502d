#pragma once

class Context;
class TextString;

// The fonts listed in the Context's FontKeys are numbered from here in the RTF font table,
// clear of the style fonts (100-176) and the styles file's fonts (200-999).
inline constexpr int kFirstFontKeyNumber = 1000;
// The RTF font number of the font key at index in the Context's FontKeys.
constexpr int FontKeyNumber(int index) { return kFirstFontKeyNumber + index; }
// The RTF font number of a font key, or -1 when the Context does not list it.
int FindFontKeyNumber(const Context& ctx, const TextString& key);
