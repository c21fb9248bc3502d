#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextString.h"

// The interface text tables: every text that a message box, a dialog, a tooltip or a menu
// shows is looked up by index in one of four tables, each filled for the current interface
// language. Texts are single-byte strings of the system's ANSI code page.

// Interface language ids, shared by the four tables, the settings and the language menu.
// Any value outside 1-9 and -1 is taken as English.
enum LanguageId : int {
  kLanguageOther = -1,  // texts come from a language file; no built-in language is selected
  kLanguageEnglish = 1,
  kLanguageGerman = 2,
  kLanguageSpanish = 3,
  kLanguageFrench = 4,
  kLanguagePortuguese = 5,
  kLanguageItalian = 6,
  kLanguageSwedish = 7,
  kLanguageRussian = 8,
  kLanguageDutch = 9,
};

// Sizes of the tables and the first language-file id of each (the dialog table's ids are its
// indices).
inline constexpr int kMessageTextCount = 120;
inline constexpr int kDialogTextCount = 1000;
inline constexpr int kToolTipTextCount = 550;
inline constexpr int kMenuTextCount = 210;
inline constexpr int kMessageTextFirstId = 15000;
inline constexpr int kToolTipTextFirstId = 5000;
inline constexpr int kMenuTextFirstId = 10000;

// Current-language values before the first selection: the message and tooltip tables have
// never been filled (their first lookup fills English); the dialog and menu tables have no
// language selected.
inline constexpr int kTableNeverFilled = -2;
inline constexpr int kTableNoLanguage = 0;

// What a lookup outside a table gives.
inline constexpr const char* kMissingText = "???";

// One text of a language's filler.
struct TextRow {
  int index;
  std::string_view text;
};

// One table of interface texts and the language it holds.
class TextTable {
 public:
  TextTable(int count, int language);

  int Count() const { return static_cast<int>(texts_.size()); }
  int GetLanguage() const { return language_; }
  // The text of index as a C string owned by the table; kMissingText outside the table.
  const char* Get(int index) const;
  // Replaces the text of index; ignored outside the table.
  void Set(int index, std::string_view text);
  // Fills the table for a language with the rows of its filler, each text behind prefix;
  // indices in skipped are left alone even when a row defines them. Nothing happens when the
  // language is already in force; -1 is recorded and loads nothing. The table is not cleared
  // first: an index no row defines keeps its text. Afterwards every untranslated marker is
  // shown as "**: ".
  void Select(int language, std::span<const TextRow> rows, std::string_view prefix,
              std::span<const int> skipped = {});
  // Records language as the one in force without loading anything.
  void RecordLanguage(int language) { language_ = language; }
  // The first occurrence of each untranslated marker in the text of index becomes "**: ".
  void ReplaceMarkers(int index);

 private:
  std::vector<TextString> texts_;
  int language_;
};

// The four program-wide tables.
TextTable& MessageTexts();
TextTable& DialogTexts();
TextTable& ToolTipTexts();
TextTable& MenuTexts();

// The four tables, for the language fillers.
enum class TextTableKind : int { Messages, Dialog, ToolTips, Menus };

// The English fillers as data, by index.
std::span<const TextRow> EnglishMessageTexts();
std::span<const TextRow> EnglishDialogTexts();
std::span<const TextRow> EnglishToolTipTexts();
std::span<const TextRow> EnglishMenuTexts();
// The English filler of a table.
std::span<const TextRow> EnglishTexts(TextTableKind table);

// The marker that a language's filler puts before an untranslated text ("de: "); empty for
// English and for ids outside 2-9.
std::string_view UntranslatedMarker(int language);

// The other languages' fillers, compiled from the language files of the source tree
// (data/lang/<language>.lng). HasBuiltInTranslation is false for a language whose file the
// source tree lacked (and for English and ids outside 2-9): its fillers take the English
// texts behind its untranslated marker, except at its gaps (FillerGaps). TranslatedTextRows gives the rows that a translated
// language's filler defines for a table, by index; an index the file leaves out keeps the
// text of the language loaded before.
bool HasBuiltInTranslation(int language);
std::span<const TextRow> TranslatedTextRows(int language, TextTableKind table);

// The entries that a language's filler of a table leaves alone, so that they keep the text of
// the language loaded before: French tooltip 165 and menus 10 and 68, German menu 131.
std::span<const int> FillerGaps(int language, TextTableKind table);

// What the filler of a language assigns to a table: its rows, each text behind prefix, except
// the indices in skipped.
struct TextFiller {
  std::span<const TextRow> rows;
  std::string_view prefix;
  std::span<const int> skipped;
};
TextFiller FillerOf(int language, TextTableKind table);

// Fill one table for a language (TextTable::Select with the language's filler). The tooltip
// table records English (1) when an id outside -1 and 1-9 selected it.
void SelectMessageLanguage(int language);
void SelectDialogLanguage(int language);
void SelectToolTipLanguage(int language);
void SelectMenuLanguage(int language);
// The four selections in the order a language switch makes them: tooltips, menus, messages,
// dialog texts.
void SelectInterfaceLanguage(int language);

// Message text 0-119; kMissingText above. Fills the table with English when it has never been
// filled.
const char* GetMessageText(int index);
// Dialog text 0-999; kMissingText above. Never fills the table.
const char* GetDialogText(int index);

// Language-file setters. SetMessageText takes ids 15000-15119 and turns the two-character
// sequences "\n" and "\r" into a line feed and a carriage return; SetDialogTextEntry takes
// ids 0-999 and shows an untranslated marker of the text as "**: ". Other ids are ignored.
void SetMessageText(int id, std::string_view text);
void SetDialogTextEntry(int id, std::string_view text);

// A copy of message text index with every occurrence of placeholder replaced by value; the
// table keeps the placeholder.
std::string MessageWithPlaceholder(int index, std::string_view placeholder,
                                   std::string_view value);
