#pragma once

#include <memory>
#include <span>
#include <vector>

#include "text/NameIndex.h"
#include "text/TextString.h"

// Kinds of tag, as ClassifyTag answers them (0 unknown).
inline constexpr int kHtmlTagUnknown = 0;
inline constexpr int kHtmlTagStandard = 1;
inline constexpr int kHtmlTagDeclaration = 2;
inline constexpr int kHtmlTagExtension = 3;
inline constexpr int kHtmlTagDeprecated = 4;

// Answers of CheckAttribute.
inline constexpr int kHtmlAttributeUnknown = 0;
inline constexpr int kHtmlAttributeTagUnknown = 1;
inline constexpr int kHtmlAttributeDeprecated = 3;
inline constexpr int kHtmlAttributeExtension = 4;
inline constexpr int kHtmlAttributeAllowed = 5;

// Attribute groups an entry takes ahead of its own allowed list.
inline constexpr int kHtmlGroupAll = 1;
inline constexpr int kHtmlGroupCore = 2;
inline constexpr int kHtmlGroupLanguage = 4;
inline constexpr int kHtmlGroupEvents = 8;

inline constexpr int kHtmlFlavour4 = 4;

// One tag of the dictionary's tables. Attribute lists are comma-separated; null for none.
struct HtmlTagRow {
  const char* name;
  int kind;
  int groups;
  const char* allowed;
  const char* deprecated;
  const char* extension;
};
// The HTML 4 tags in the order they are added: declarations, standard, extension and
// deprecated tags.
std::span<const HtmlTagRow> Html4TagRows();

// One tag with its attribute sets.
struct HtmlTagInfo {
  TextString name;
  int kind = kHtmlTagUnknown;
  NameIndex allowed;
  NameIndex deprecated;
  NameIndex extension;
};

// HTML tags and their attributes, to tell standard, deprecated, extension and declaration
// tags and attributes apart. Built once per Context, on first use.
class HtmlTagDictionary {
 public:
  HtmlTagDictionary() = default;
  // Owns its entries and name sets; built in place, never copied.
  HtmlTagDictionary(const HtmlTagDictionary&) = delete;
  HtmlTagDictionary& operator=(const HtmlTagDictionary&) = delete;
  ~HtmlTagDictionary() = default;

  // Empties the dictionary, sets the flavour and adds its tags (only flavour 4 has any).
  void Build(int flavour);
  // Appends an entry. The attribute lists (null = none) are split at commas, each field
  // trimmed, empty fields skipped; the group attributes go ahead of the allowed list. Kind 1
  // also enters the trimmed name into the standard name set.
  void AddTag(const char* name, int kind, int groups, const char* allowed,
              const char* deprecated, const char* extension);
  // AddTag with kind 3, 4 or 2, entering the trimmed name into that kind's name set.
  void AddExtensionTag(const char* name, int groups, const char* allowed,
                       const char* deprecated, const char* extension);
  void AddDeprecatedTag(const char* name, int groups, const char* allowed,
                        const char* deprecated, const char* extension);
  void AddDeclaration(const char* name, int groups, const char* allowed,
                      const char* deprecated, const char* extension);

  // The kind of a tag name (trimmed, every "/" removed, case ignored), looked up among the
  // standard, deprecated, extension and declaration names in that order; 0 when unknown.
  int ClassifyTag(const TextString& name);
  // For a known tag: 5 allowed, 3 deprecated, 4 extension, 0 unknown attribute, judged by the
  // first entry of that name (case ignored). 1 when the tag is unknown, or when its name as
  // given (a "/" included) names no entry.
  int CheckAttribute(const TextString& tag, const TextString& attribute);

  // Releases every entry and the name sets; count 0.
  void Clear();

  int GetFlavour() const { return flavour_; }
  int GetCount() const { return static_cast<int>(entries_.size()); }
  // The entry at i, or null outside 0 .. count - 1.
  const HtmlTagInfo* GetEntry(int i) const;

 private:
  HtmlTagInfo& Append(const char* name, int kind, int groups, const char* allowed,
                      const char* deprecated, const char* extension);

  int flavour_ = kHtmlFlavour4;
  std::vector<std::unique_ptr<HtmlTagInfo>> entries_;
  // Rebuilt by Clear (a NameIndex only grows).
  std::unique_ptr<NameIndex> standardNames_ = std::make_unique<NameIndex>();
  std::unique_ptr<NameIndex> extensionNames_ = std::make_unique<NameIndex>();
  std::unique_ptr<NameIndex> deprecatedNames_ = std::make_unique<NameIndex>();
  std::unique_ptr<NameIndex> declarationNames_ = std::make_unique<NameIndex>();
};
