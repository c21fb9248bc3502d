#include "engine/HtmlTagDictionary.h"

// The attribute groups of the HTML 4.01 document type definition.
static constexpr const char* kCoreAttributes = "id,class,style,title,";
static constexpr const char* kLanguageAttributes = "lang,dir,";
static constexpr const char* kEventAttributes =
    "onclick,ondblclick,onmousedown,onmouseup,onmouseover,onmousemove,onmouseout,onkeypress,"
    "onkeydown,onkeyup,";

// Enters every non-empty trimmed field of a comma-separated list (null = none).
static void InsertFields(NameIndex& set, const char* list) {
  if (list == nullptr)
    return;
  const TextString text(list);
  TextString field;
  int pos = 0;
  while (text.GetNextField(&pos, ',', field)) {
    field.Trim();
    if (!field.IsEmpty())
      set.Insert(field.GetText());
  }
}

void HtmlTagDictionary::Build(int flavour) {
  Clear();
  flavour_ = flavour;
  if (flavour != kHtmlFlavour4)
    return;
  for (const HtmlTagRow& row : Html4TagRows()) {
    switch (row.kind) {
      case kHtmlTagDeclaration:
        AddDeclaration(row.name, row.groups, row.allowed, row.deprecated, row.extension);
        break;
      case kHtmlTagExtension:
        AddExtensionTag(row.name, row.groups, row.allowed, row.deprecated, row.extension);
        break;
      case kHtmlTagDeprecated:
        AddDeprecatedTag(row.name, row.groups, row.allowed, row.deprecated, row.extension);
        break;
      default:
        AddTag(row.name, row.kind, row.groups, row.allowed, row.deprecated, row.extension);
        break;
    }
  }
}

HtmlTagInfo& HtmlTagDictionary::Append(const char* name, int kind, int groups,
                                       const char* allowed, const char* deprecated,
                                       const char* extension) {
  auto info = std::make_unique<HtmlTagInfo>();
  info->name.Assign(name);
  info->name.Trim();
  info->kind = kind;
  // Group attributes first, then the tag's own.
  const bool all = (groups & kHtmlGroupAll) != 0;
  if (all || (groups & kHtmlGroupCore) != 0)
    InsertFields(info->allowed, kCoreAttributes);
  if (all || (groups & kHtmlGroupLanguage) != 0)
    InsertFields(info->allowed, kLanguageAttributes);
  if (all || (groups & kHtmlGroupEvents) != 0)
    InsertFields(info->allowed, kEventAttributes);
  InsertFields(info->allowed, allowed);
  InsertFields(info->deprecated, deprecated);
  InsertFields(info->extension, extension);
  entries_.push_back(std::move(info));
  return *entries_.back();
}

void HtmlTagDictionary::AddTag(const char* name, int kind, int groups, const char* allowed,
                               const char* deprecated, const char* extension) {
  const HtmlTagInfo& info = Append(name, kind, groups, allowed, deprecated, extension);
  if (kind == kHtmlTagStandard)
    standardNames_->Insert(info.name.GetText());
}

void HtmlTagDictionary::AddExtensionTag(const char* name, int groups, const char* allowed,
                                        const char* deprecated, const char* extension) {
  AddTag(name, kHtmlTagExtension, groups, allowed, deprecated, extension);
  extensionNames_->Insert(entries_.back()->name.GetText());
}

void HtmlTagDictionary::AddDeprecatedTag(const char* name, int groups, const char* allowed,
                                         const char* deprecated, const char* extension) {
  AddTag(name, kHtmlTagDeprecated, groups, allowed, deprecated, extension);
  deprecatedNames_->Insert(entries_.back()->name.GetText());
}

void HtmlTagDictionary::AddDeclaration(const char* name, int groups, const char* allowed,
                                       const char* deprecated, const char* extension) {
  AddTag(name, kHtmlTagDeclaration, groups, allowed, deprecated, extension);
  declarationNames_->Insert(entries_.back()->name.GetText());
}

int HtmlTagDictionary::ClassifyTag(const TextString& name) {
  TextString bare;
  bare.Reserve(name.GetLength());
  for (int i = 0; i < name.GetLength(); ++i) {
    if (name.CharAt(i) != '/')
      bare.AppendChar(name.CharAt(i));
  }
  bare.Trim();
  if (standardNames_->Find(bare.GetText()) >= 0)
    return kHtmlTagStandard;
  if (deprecatedNames_->Find(bare.GetText()) >= 0)
    return kHtmlTagDeprecated;
  if (extensionNames_->Find(bare.GetText()) >= 0)
    return kHtmlTagExtension;
  if (declarationNames_->Find(bare.GetText()) >= 0)
    return kHtmlTagDeclaration;
  return kHtmlTagUnknown;
}

int HtmlTagDictionary::CheckAttribute(const TextString& tag, const TextString& attribute) {
  if (ClassifyTag(tag) == kHtmlTagUnknown)
    return kHtmlAttributeTagUnknown;
  TextString tagName(tag);
  tagName.Trim();
  TextString attributeName(attribute);
  attributeName.Trim();
  for (const auto& entry : entries_) {
    if (!entry->name.Equals(tagName))
      continue;
    if (entry->allowed.Find(attributeName.GetText()) >= 0)
      return kHtmlAttributeAllowed;
    if (entry->deprecated.Find(attributeName.GetText()) >= 0)
      return kHtmlAttributeDeprecated;
    if (entry->extension.Find(attributeName.GetText()) >= 0)
      return kHtmlAttributeExtension;
    return kHtmlAttributeUnknown;
  }
  return kHtmlAttributeTagUnknown;
}

void HtmlTagDictionary::Clear() {
  entries_.clear();
  standardNames_ = std::make_unique<NameIndex>();
  extensionNames_ = std::make_unique<NameIndex>();
  deprecatedNames_ = std::make_unique<NameIndex>();
  declarationNames_ = std::make_unique<NameIndex>();
}

const HtmlTagInfo* HtmlTagDictionary::GetEntry(int i) const {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return entries_[static_cast<std::size_t>(i)].get();
}
