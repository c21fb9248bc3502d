#pragma once

#include <memory>

class FileControl;
class PreHTML;
class RTFFile;
class TextString;

// A pre-formatted region of the input as the RTF writer holds it: the writer makes one when its
// first region begins and restarts it for every later one, adds every line of the region and
// has it processed when the region ends;
// processing decides how the region is written (table, code, diagram, mail header, indented
// block or text) and writes it through the writer. The table layer implements it
// (tables/PreForm).
class RegionWriter {
 public:
  virtual ~RegionWriter() = default;

  // The region empty again, as the maker makes it for the same writer with these arguments;
  // the room the previous region took stays, so that regions after the first allocate only
  // where they outgrow every earlier one.
  virtual void Restart(FileControl* fc, void* data, PreHTML* firstLine) = 0;
  // Appends a copy of line.
  virtual void AddLine(PreHTML* line) = 0;
  virtual int GetLineCount() const = 0;
  // Decides how the region is written and writes it; what is to be reported is left in the
  // report text and level.
  virtual void Process(int specialFormatCode) = 0;
  // The highest level of the region's messages (0: none) and their text.
  virtual int GetReportLevel() const = 0;
  virtual const TextString& GetReportText() const = 0;
};

// Makes the region written through writer whose first line is firstLine (not added); data is
// the Context's line window. The per-file driver gives the writer one
// (RTFFile::SetRegionMaker).
using RegionMaker = std::unique_ptr<RegionWriter> (*)(RTFFile* writer, FileControl* fc,
                                                      void* data, PreHTML* firstLine);
