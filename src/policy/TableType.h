#pragma once

#include "text/TextString.h"

// A named table type of the definitions file: which table format and which table structure
// a matching table uses. The registry finds types by name.
class TableType {
 public:
  // The name, then Reset.
  explicit TableType(const TextString& name);
  ~TableType();
  TableType(const TableType&) = delete;
  TableType& operator=(const TableType&) = delete;

  // Format and structure names become "Default"; the content test is emptied.
  void Reset();
  const TextString& GetName() const { return name_; }
  const TextString& GetContent() const { return content_; }
  const TextString& GetFormatName() const { return formatName_; }
  const TextString& GetStructureName() const { return structureName_; }
  void SetContent(const TextString& content) { content_ = content; }
  void SetFormatName(const TextString& name) { formatName_ = name; }
  void SetStructureName(const TextString& name) { structureName_ = name; }

 private:
  TextString name_;
  TextString content_;
  TextString formatName_;
  TextString structureName_;
};
