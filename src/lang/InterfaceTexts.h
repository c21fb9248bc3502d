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

// Current-language values before the first selection: the message table has never been
// filled; the other tables have no language selected.
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
  // Fills the table for a language from the English rows. Nothing happens when the language
  // is already in force; -1 is recorded and loads nothing. Other languages than English take
  // each English text behind their untranslated marker. The table is not cleared first: an
  // index no row defines keeps its text. Afterwards every untranslated marker is shown as
  // "**: ".
  void Select(int language, std::span<const TextRow> englishRows);
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

// The English fillers as data, by index.
std::span<const TextRow> EnglishMessageTexts();
std::span<const TextRow> EnglishDialogTexts();
std::span<const TextRow> EnglishToolTipTexts();
std::span<const TextRow> EnglishMenuTexts();

// The marker that a language's filler puts before an untranslated text ("de: "); empty for
// English and for ids outside 2-9.
std::string_view UntranslatedMarker(int language);

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
