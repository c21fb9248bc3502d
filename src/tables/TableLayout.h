#pragma once

#include "text/TextString.h"

// A named table structure (columns and their analysis settings). The registry holds a
// "Default" structure and one per named structure of the definitions file, found by name.
// The columns arrive with the table code; Reset is the reset point.
class TableLayout {
 public:
  explicit TableLayout(const TextString& name);
  ~TableLayout();
  TableLayout(const TableLayout&) = delete;
  TableLayout& operator=(const TableLayout&) = delete;

  // Back to an empty structure; keep is passed on to the column settings (0 resets all).
  void Reset(int keep);
  const TextString& GetName() const { return name_; }

 private:
  TextString name_;
};
