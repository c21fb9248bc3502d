#pragma once

#include <memory>
#include <vector>

#include "policy/ErrorHandler.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "policy/TableType.h"
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

  // Reads the table definitions file: "table format", "table type" and "table structure"
  // sections (before the first, lines change the "Default" ones), the policy lines of formats
  // and structures, the type keys, and "Alarm", "Column format", "Barchart" and "Table Data"
  // definitions (into the Context's lists and the policy set's "Default" table policies).
  // Each bad line is reported and skipped. 1 when every line was taken; 0 when the file did
  // not open or a line was ignored, with the last such message in result. reportRepeats asks
  // the policy parsers to refuse repeated settings.
  [[nodiscard]] int ReadDefinitionsFile(FileControl& control, const TextString& fileName,
                                        int reportRepeats, TextString& result);

  TableGenerationPolicies& GetDefaultFormat() { return *defaultFormat_; }
  TableType& GetDefaultType() { return *defaultType_; }
  TableLayout& GetDefaultStructure() { return *defaultStructure_; }
  int GetFormatCount() const { return static_cast<int>(formats_.size()); }
  int GetTypeCount() const { return static_cast<int>(types_.size()); }
  // The named type at index (0-based, in the order the definitions file gave them), or null.
  TableType* GetType(int index) const;
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
