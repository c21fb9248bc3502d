#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/StringList.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class FileControl;

// Kinds of definition.
inline constexpr int kDefineBlock = 0;     // DEFINE_BLOCK, RESET_BLOCK
inline constexpr int kDefineVariable = 1;  // DEFINE_VARIABLE
inline constexpr int kDefineFragment = 2;  // DEFINE_/RESET_ HTML and TEXT fragments

// One named block, fragment or variable and where it becomes visible.
struct DefineEntry {
  int kind = kDefineBlock;
  TextString name;
  TextString value;  // variables only
  StringList lines;  // the body of a block or fragment
  DefineScope scope;
};

// The blocks, fragments and variables defined in the document, in order of definition,
// with the definition left open by the directive handling (between the opening directive
// and its END_BLOCK). Lookups by name go through an index of the entries of each name, so a
// lookup costs the definitions of that name, not the whole list.
class DefineList {
 public:
  DefineList() = default;
  DefineList(const DefineList&) = delete;
  DefineList& operator=(const DefineList&) = delete;
  ~DefineList();

  // Appends a definition; result 1. Refused outside the analysis pass without force:
  // "PROGRAM ERROR: DefineList::Add called during non-analysis pass" at level 10, result 0.
  // The entry's position is position when its column is above 0; else the current tracker
  // position with the column plus 1; else (when the tracker stands at (0, 1) or at no line)
  // (0, 1). The scope is set from that position, scopeType and scopeValue. value (may be
  // null) is stored for a variable.
  int Add(FileControl& control, int kind, const TextString& name, const TextPosition& position,
          int scopeType, int scopeValue, const TextString* value, int force);
  // Appends text to the body of the last entry when it is a block or a fragment (result 1);
  // 0 and nothing done when the list is empty or the last entry is a variable.
  int AppendLine(const TextString& text);

  // Among the entries of kind named name that DefineScope::Covers with the query (inclusion
  // type 4 when inclusive, else 3), the one whose scope column is closest before position;
  // on a tie the later one. *index -1 and false when none.
  bool FindAtOrBefore(int kind, const TextString& name, const TextPosition& position, int queryKind,
                      int* index, int inclusive) const;
  // The same with inclusion type 2 (inclusive) or 1, closest after position.
  bool FindAtOrAfter(int kind, const TextString& name, const TextPosition& position, int queryKind,
                     int* index, int inclusive) const;

  // The value of variable name as of position, or a synthesised folio variable
  // ("FOLIO_FOOTER_PAGE_NUMBER", "FOLIO_HEADER_PAGE_NUMBER", "FOLIO_HEADER_TEMPLATE",
  // "FOLIO_HEADER_FORMAT_CODE", "FOLIO_FORMAT_CODE" "0", "FOLIO_TEMPLATE" "[folio]").
  // Result 1 when resolved. Otherwise value becomes name, "TAG_ERROR: Failed to resolve
  // variable " + name is reported at level 10 and the result is 0.
  int ResolveVariable(FileControl& control, const TextString& name, const TextPosition& position,
                      TextString& value);

  // Frees every entry; count 0. The open-definition state is left to CloseOpenDefinition.
  void Clear();
  int GetCount() const { return static_cast<int>(entries_.size()); }
  // The entry at i, or null outside 0 .. count - 1.
  const DefineEntry* GetEntry(int i) const;

  // ---- The definition being read ----
  // Marks a definition open, remembering the tagged type of its opening line (1017, 1021,
  // 1025 to 1028), its name and whether the analysis pass opened it.
  void OpenDefinition(const Context& context, int taggedType, const TextString& name);
  // END_BLOCK (or a RESET line) closed it.
  void CloseDefinition();
  bool IsDefinitionOpen() const { return open_.isOpen != 0; }
  // Ends a definition that its input left open, so that a new pass or a new file does not
  // start inside it and lose its output. A definition left open by the analysis pass is
  // reported once (the later passes leave the same one open): "TAG ERROR: Missing END_BLOCK
  // detected at end of input for " + directive + " " + name, level 10. Result 1 when one was
  // open. Context::ResetPassState calls it first (ResetForFile reaches it through
  // ResetPassState).
  int CloseOpenDefinition(Context& context);

 private:
  struct OpenDefinitionState {
    int isOpen = 0;
    int taggedType = 0;
    int openedInAnalysis = 0;
    TextString name;
  };
  // Shared by the two Find operations: the covered entry with the smallest distance.
  bool FindClosest(int kind, const TextString& name, const TextPosition& position, int queryKind,
                   int inclusionType, bool after, int* index) const;
  // The footer (header false) or header page number; 0 when a name failed to resolve or
  // a number was not one.
  int ResolvePageNumber(FileControl& control, const TextPosition& position, bool header,
                        TextString& value);

  std::vector<std::unique_ptr<DefineEntry>> entries_;
  std::unordered_map<std::string, std::vector<int>> byName_;
  OpenDefinitionState open_;
};
