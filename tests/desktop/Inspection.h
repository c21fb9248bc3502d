#pragma once

// The inspection report that the real program writes of a modal dialog (KELVANE_INSPECT).
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/TestFiles.h"

namespace gui {

// What an inspection report says: the title, per control its shown state and text, per
// list its items, the menu bar's entries, and the entries of its drop-down menus by their
// path of positions ("2.0").
struct Inspection {
  std::string title;
  std::map<int, std::pair<bool, std::string>> controls;
  std::map<int, std::vector<std::string>> items;
  std::vector<std::string> menu;
  std::map<std::string, std::string> entries;
  std::vector<int> chosen;
};

inline Inspection ReadInspection(const std::string& path) {
  Inspection report;
  std::istringstream in(ReadBytes(path));
  for (std::string line; std::getline(in, line);) {
    // The last field is the text, which may hold tabs of its own.
    const bool twoFields = line.rfind("title", 0) == 0 || line.rfind("chosen", 0) == 0;
    const bool threeFields = line.rfind("menu", 0) == 0 || line.rfind("entry", 0) == 0;
    const std::size_t count = twoFields ? 2 : threeFields ? 3 : 4;
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (fields.size() + 1 < count && at <= line.size()) {
      const std::size_t tab = std::min(line.find('\t', at), line.size());
      fields.push_back(line.substr(at, tab - at));
      at = tab + 1;
    }
    fields.push_back(at <= line.size() ? line.substr(at) : std::string());
    if (fields.size() == 2 && fields[0] == "title")
      report.title = fields[1];
    else if (fields.size() == 4 && fields[0] == "control")
      report.controls[std::stoi(fields[1])] = {fields[2] == "1", fields[3]};
    else if (fields.size() == 4 && fields[0] == "item")
      report.items[std::stoi(fields[1])].push_back(fields[3]);
    else if (fields.size() == 3 && fields[0] == "menu")
      report.menu.push_back(fields[2]);
    else if (fields.size() == 3 && fields[0] == "entry")
      report.entries[fields[1]] = fields[2];
    else if (fields.size() == 2 && fields[0] == "chosen")
      report.chosen.push_back(std::stoi(fields[1]));
  }
  return report;
}

}  // namespace gui
