#pragma once

#include <memory>
#include <vector>

#include "policy/ErrorHandler.h"
#include "tables/TableGenerationPolicies.h"
#include "tables/TableLayout.h"
#include "tables/TableType.h"
#include "text/TextString.h"

class FileControl;

// Named table formats, types and structures of the table definitions file, beside the
// "Default" format, type and structure. The defaults are separate members: name lookups
// never find them.
class TableDefinitionRegistry {
 public:
  // The three "Default" members, no named entries.
  TableDefinitionRegistry();
  ~TableDefinitionRegistry();
  TableDefinitionRegistry(const TableDefinitionRegistry&) = delete;
  TableDefinitionRegistry& operator=(const TableDefinitionRegistry&) = delete;

  // The first named entry whose name equals name (same length, ASCII case ignored), or null.
  TableGenerationPolicies* FindFormat(const TextString& name) const;
  TableType* FindType(const TextString& name) const;
  TableLayout* FindStructure(const TextString& name) const;

  // A new entry of that name, appended and handed back to be filled; null (nothing added)
  // when the matching Find already knows the name.
  TableGenerationPolicies* AddFormat(const TextString& name);
  TableType* AddType(const TextString& name);
  TableLayout* AddStructure(const TextString& name);

  // Destroys every named entry and resets the defaults in place: the default format's
  // policies registered afresh, the default type's format and structure names "Default",
  // the default structure reset. Context::ClearTableDefinitions runs it.
  void Clear();

  // Reads the table definitions file into this registry (formats, types, structures) and the
  // Context's definition lists. 1 when read; 0 with a message in result when not. This
  // registry reads no definitions file: every call answers 0 and says so in result, so that
  // no caller takes an unread file for a read one.
  [[nodiscard]] int ReadDefinitionsFile(FileControl& control, const TextString& fileName,
                                        int reportErrors, TextString& result);

  TableGenerationPolicies& GetDefaultFormat() { return *defaultFormat_; }
  TableType& GetDefaultType() { return *defaultType_; }
  TableLayout& GetDefaultStructure() { return *defaultStructure_; }
  int GetFormatCount() const { return static_cast<int>(formats_.size()); }
  int GetTypeCount() const { return static_cast<int>(types_.size()); }
  int GetStructureCount() const { return static_cast<int>(structures_.size()); }
  ErrorHandler& GetErrorHandler() { return errorHandler_; }

 private:
  // Built first so that it outlives the entries.
  ErrorHandler errorHandler_;
  std::unique_ptr<TableGenerationPolicies> defaultFormat_;
  std::vector<std::unique_ptr<TableGenerationPolicies>> formats_;
  std::unique_ptr<TableType> defaultType_;
  std::vector<std::unique_ptr<TableType>> types_;
  std::unique_ptr<TableLayout> defaultStructure_;
  std::vector<std::unique_ptr<TableLayout>> structures_;
};
