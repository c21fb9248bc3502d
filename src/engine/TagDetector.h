#pragma once

#include <memory>

#include "engine/HtmlTagDictionary.h"
#include "text/NameIndex.h"

// What the HTML tag detection of a run keeps between calls: the names it knows as tags and
// the tag dictionary it cleans tags with. The name sets and the dictionary are filled by the
// detection on its first use (analysis/HtmlTags); a Context holds one for the whole run.
struct TagDetector {
  TagDetector() = default;
  // Name sets are built in place once; a copy would build them again.
  TagDetector(const TagDetector&) = delete;
  TagDetector& operator=(const TagDetector&) = delete;

  NameIndex htmlTags;    // "HTML tags"
  NameIndex mailTags;    // "Mail tags"
  NameIndex officeTags;  // "Office tags"
  // Built for HTML 4 on first use.
  std::unique_ptr<HtmlTagDictionary> dictionary;
  // An unquoted attribute value is read as a double-quoted one.
  int quoteAttributeValues = 1;
  // A tag whose name reads as a number ("<1>") is text, not a tag.
  int numbersAreNotTags = 1;
};
