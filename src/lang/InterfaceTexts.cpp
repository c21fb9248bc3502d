#include "lang/InterfaceTexts.h"

#include <algorithm>
#include <array>

// Markers in the order their replacement runs.
static constexpr std::array<std::string_view, 8> kMarkers = {
    "es: ", "fr: ", "it: ", "se: ", "de: ", "ru: ", "pg: ", "nl: ",
};
static constexpr const char* kShownMarker = "**: ";

TextTable::TextTable(int count, int language) : texts_(count), language_(language) {}

const char* TextTable::Get(int index) const {
  if (index < 0 || index >= Count())
    return kMissingText;
  return texts_[index].GetText();
}

void TextTable::Set(int index, std::string_view text) {
  if (index < 0 || index >= Count())
    return;
  texts_[index].AssignBytes(text.data(), static_cast<int>(text.size()));
}

void TextTable::ReplaceMarkers(int index) {
  if (index < 0 || index >= Count())
    return;
  TextString& text = texts_[index];
  for (std::string_view marker : kMarkers) {
    int at = -1;
    if (text.Find(0, marker.data(), &at, 1, 0))
      text.ReplaceSpan(at, static_cast<int>(marker.size()), kShownMarker);
  }
}

void TextTable::Select(int language, std::span<const TextRow> rows, std::string_view prefix,
                       std::span<const int> skipped) {
  if (language == language_)
    return;
  language_ = language;
  if (language == kLanguageOther)
    return;
  std::string text;
  for (const TextRow& row : rows) {
    if (std::find(skipped.begin(), skipped.end(), row.index) != skipped.end())
      continue;
    text.assign(prefix);
    text.append(row.text);
    Set(row.index, text);
  }
  for (int index = 0; index < Count(); ++index)
    ReplaceMarkers(index);
}

TextTable& MessageTexts() {
  static TextTable table(kMessageTextCount, kTableNeverFilled);
  return table;
}

TextTable& DialogTexts() {
  static TextTable table(kDialogTextCount, kTableNoLanguage);
  return table;
}

TextTable& ToolTipTexts() {
  static TextTable table(kToolTipTextCount, kTableNeverFilled);
  return table;
}

TextTable& MenuTexts() {
  static TextTable table(kMenuTextCount, kTableNoLanguage);
  return table;
}


std::string_view UntranslatedMarker(int language) {
  switch (language) {
    case kLanguageGerman: return "de: ";
    case kLanguageSpanish: return "es: ";
    case kLanguageFrench: return "fr: ";
    case kLanguagePortuguese: return "pg: ";
    case kLanguageItalian: return "it: ";
    case kLanguageSwedish: return "se: ";
    case kLanguageRussian: return "ru: ";
    case kLanguageDutch: return "nl: ";
    default: return {};
  }
}

std::span<const TextRow> EnglishTexts(TextTableKind table) {
  switch (table) {
    case TextTableKind::Messages: return EnglishMessageTexts();
    case TextTableKind::Dialog: return EnglishDialogTexts();
    case TextTableKind::ToolTips: return EnglishToolTipTexts();
    case TextTableKind::Menus: return EnglishMenuTexts();
  }
  return {};
}

static constexpr int kFrenchToolTipGaps[] = {165};
static constexpr int kFrenchMenuGaps[] = {10, 68};
static constexpr int kGermanMenuGaps[] = {131};

std::span<const int> FillerGaps(int language, TextTableKind table) {
  if (language == kLanguageFrench && table == TextTableKind::ToolTips)
    return kFrenchToolTipGaps;
  if (language == kLanguageFrench && table == TextTableKind::Menus)
    return kFrenchMenuGaps;
  if (language == kLanguageGerman && table == TextTableKind::Menus)
    return kGermanMenuGaps;
  return {};
}

TextFiller FillerOf(int language, TextTableKind table) {
  // A translated filler defines what its language file holds; the file leaves the gaps out.
  if (HasBuiltInTranslation(language))
    return {TranslatedTextRows(language, table), {}, {}};
  return {EnglishTexts(table), UntranslatedMarker(language), FillerGaps(language, table)};
}

static void Select(TextTable& table, int language, TextTableKind kind) {
  const TextFiller filler = FillerOf(language, kind);
  table.Select(language, filler.rows, filler.prefix, filler.skipped);
}

static bool IsBuiltInLanguage(int language) {
  return language >= kLanguageEnglish && language <= kLanguageDutch;
}

void SelectMessageLanguage(int language) {
  Select(MessageTexts(), language, TextTableKind::Messages);
}
void SelectDialogLanguage(int language) { Select(DialogTexts(), language, TextTableKind::Dialog); }
void SelectMenuLanguage(int language) { Select(MenuTexts(), language, TextTableKind::Menus); }

void SelectToolTipLanguage(int language) {
  Select(ToolTipTexts(), language, TextTableKind::ToolTips);
  if (language != kLanguageOther && !IsBuiltInLanguage(language))
    ToolTipTexts().RecordLanguage(kLanguageEnglish);
}

void SelectInterfaceLanguage(int language) {
  SelectToolTipLanguage(language);
  SelectMenuLanguage(language);
  SelectMessageLanguage(language);
  SelectDialogLanguage(language);
}

const char* GetMessageText(int index) {
  if (MessageTexts().GetLanguage() < -1)
    SelectMessageLanguage(kLanguageEnglish);
  return MessageTexts().Get(index);
}

const char* GetDialogText(int index) { return DialogTexts().Get(index); }

void SetMessageText(int id, std::string_view text) {
  const int index = id - kMessageTextFirstId;
  if (index < 0 || index >= kMessageTextCount)
    return;
  std::string unescaped;
  unescaped.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool escape = text[i] == '\\' && i + 1 < text.size();
    if (escape && text[i + 1] == 'n') {
      unescaped.push_back('\n');
      ++i;
      continue;
    }
    if (escape && text[i + 1] == 'r') {
      unescaped.push_back('\r');
      ++i;
      continue;
    }
    unescaped.push_back(text[i]);
  }
  MessageTexts().Set(index, unescaped);
}

void SetDialogTextEntry(int id, std::string_view text) {
  if (id < 0 || id >= kDialogTextCount)
    return;
  DialogTexts().Set(id, text);
  // The other entries hold no marker: filling and every earlier call replaced theirs.
  DialogTexts().ReplaceMarkers(id);
}

std::string MessageWithPlaceholder(int index, std::string_view placeholder,
                                   std::string_view value) {
  std::string text = GetMessageText(index);
  if (placeholder.empty())
    return text;
  for (std::size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
  return text;
}
