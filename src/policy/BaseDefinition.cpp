#include "policy/BaseDefinition.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "policy/TextClassification.h"
#include "policy/ErrorHandler.h"

BaseDefinition::~BaseDefinition() = default;
AlarmDefinition::~AlarmDefinition() = default;
FormatDefinition::~FormatDefinition() = default;
GraphDefinition::~GraphDefinition() = default;
TableDataDefinition::~TableDataDefinition() = default;

namespace {

// The attribute text being taken apart: each attribute found is cut out of the copy, so
// what is left at the end is what no attribute claimed.
class AttributeReader {
 public:
  AttributeReader(PolicyContext& ctx, ErrorHandler& handler, const TextString& attributes)
      : ctx_(ctx), handler_(handler), work_(attributes) {
    work_.AppendChar('>');
  }

  // True when the attribute is present; value holds it (possibly empty).
  bool Read(const char* name, TextString& value) {
    return GetTagAttribute(ctx_, name, work_, value, true);
  }

  // Reads name; present with an empty value reports "TAG ERROR: <lead> \"<LABEL>\"".
  // False when that error was reported.
  bool ReadRequired(const char* name, const char* lead, const char* label, TextString& value,
                    bool& present) {
    present = Read(name, value);
    if (!present || !value.IsEmpty()) return true;
    Report3("TAG ERROR: ", lead, label, "\"");
    return false;
  }

  // "TAG ERROR: <kind> - " + whatever no attribute claimed; false when something is left.
  bool CheckLeftover(const char* kind) {
    int pos = -1;
    if (work_.FindChar(0, '>', &pos, 1)) work_.ReplaceSpan(pos, 1, "");
    work_.Trim();
    if (work_.IsEmpty()) return true;
    handler_.SetMessageText(kind);
    handler_.AppendMessageText(work_.GetText());
    handler_.ReportBuffer(10);
    return false;
  }

  void Report(const char* text) { handler_.Report(text, 10); }

  // "TAG ERROR: " lead LABEL closing, e.g. no value given for "NAME".
  void Report3(const char* prefix, const char* lead, const char* label, const char* closing) {
    handler_.SetMessageText(prefix);
    handler_.AppendMessageText(lead);
    handler_.AppendMessageText(label);
    handler_.AppendMessageText(closing);
    handler_.ReportBuffer(10);
  }

  // "TAG ERROR: Failed to parse \"<LABEL>\" value - \"<value>\"".
  void ReportBadValue(const char* label, const TextString& value) {
    handler_.SetMessageText("TAG ERROR: Failed to parse \"");
    handler_.AppendMessageText(label);
    handler_.AppendMessageText("\" value - \"");
    handler_.AppendMessageText(value.GetText());
    handler_.AppendMessageText("\"");
    handler_.ReportBuffer(10);
  }

  void ReportWithValue(const char* text, const TextString& value, const char* closing) {
    handler_.SetMessageText(text);
    handler_.AppendMessageText(value.GetText());
    handler_.AppendMessageText(closing);
    handler_.ReportBuffer(10);
  }

 private:
  PolicyContext& ctx_;
  ErrorHandler& handler_;
  TextString work_;
};

constexpr const char* kNoValue = "no value given for \"";
constexpr const char* kNoName = "no name given for \"";

// A decimal integer with nothing else around it but blanks.
bool ReadInteger(const TextString& text, int& out) {
  TextString trimmed(text);
  trimmed.Trim();
  return trimmed.ParseNumber('1', &out);
}

}  // namespace

// Reads an optional attribute that must not be empty into target.
static bool ReadOptional(AttributeReader& reader, const char* name, const char* lead,
                         const char* label, TextString& target) {
  TextString value;
  bool present = false;
  if (!reader.ReadRequired(name, lead, label, value, present)) return false;
  if (present) target = value;
  return true;
}

// A keyword of an attribute value and the code it stands for.
struct WordCode {
  const char* word;
  int code;
};

// The code of the first word equal to value (case ignored), or -1.
template <std::size_t N>
static int FindWordCode(const WordCode (&words)[N], const TextString& value) {
  for (const WordCode& w : words) {
    if (value.Compare(w.word, 0, 0)) return w.code;
  }
  return -1;
}

static constexpr WordCode kComparisons[] = {
    {"lt", kAlarmLessThan},     {"le", kAlarmLessOrEqual},     {"eq", kAlarmEqual},
    {"ne", kAlarmNotEqual},     {"ge", kAlarmGreaterOrEqual},  {"gt", kAlarmGreaterThan},
    {"eqs", kAlarmEqualText},   {"nes", kAlarmNotEqualText},
};

AlarmDefinition::AlarmDefinition(PolicyContext& ctx, ErrorHandler& handler,
                                 const TextPosition& position, const TextString& attributes) {
  SetPosition(position);
  AttributeReader reader(ctx, handler, attributes);
  TextString value;
  bool present = false;
  if (!reader.ReadRequired("name", kNoValue, "NAME", value, present)) return;
  if (present) SetName(value);

  if (!reader.ReadRequired("type", kNoValue, "TYPE", value, present)) return;
  if (present) {
    comparison = std::max(FindWordCode(kComparisons, value), 0);
    if (comparison == kAlarmNone) {
      reader.ReportBadValue("TYPE", value);
      return;
    }
  }
  if (comparison == kAlarmNone) {
    // An alarm that tests nothing is dropped quietly.
    SetName(TextString());
    return;
  }

  if (!reader.ReadRequired("column_value", kNoValue, "COLUMN_VALUE", value, present)) return;
  if (present && !ReadInteger(value, columnValue)) {
    reader.ReportWithValue("TAG ERROR: Invalid value for \"COLUMN_VALUE\" - ", value, "\"");
    return;
  }
  if (!reader.ReadRequired("value", kNoValue, "VALUE", value, present)) return;
  if (present) {
    double number = 0.0;
    if (value.ParseDouble(&number))
      valueNumber = number;
    else
      valueText = value;
  }
  if (!ReadOptional(reader, "alarm_color", kNoValue, "ALARM_COLOR", alarmColour)) return;
  if (!ReadOptional(reader, "cellatts", kNoValue, "CELLATTS", cellAttributes)) return;
  if (!ReadOptional(reader, "CSS_ID", kNoName, "CSS_ID", cssId)) return;
  valid_ = reader.CheckLeftover("TAG ERROR: unknown alarm attributes - ") ? 1 : 0;
}

FormatDefinition::FormatDefinition(PolicyContext& ctx, ErrorHandler& handler,
                                   const TextPosition& position, const TextString& attributes) {
  SetPosition(position);
  AttributeReader reader(ctx, handler, attributes);
  TextString name;
  if (!ReadOptional(reader, "name", kNoValue, "NAME", name)) return;
  SetName(name);
  if (!ReadOptional(reader, "CSS_ID", kNoName, "CSS_ID", cssId)) return;
  if (!ReadOptional(reader, "barchart", kNoName, "BARCHART", barchartName)) return;
  if (!ReadOptional(reader, "alarms", kNoName, "ALARMS", alarmNames)) return;
  valid_ = reader.CheckLeftover("TAG ERROR: unknown column format attributes - ") ? 1 : 0;
}

// A real-valued attribute: absent leaves target; present and not a number reports.
static bool ReadReal(AttributeReader& reader, const char* name, const char* label,
                     double& target, int& has) {
  TextString value;
  if (!reader.Read(name, value)) return true;
  double number = 0.0;
  if (!value.ParseDouble(&number)) {
    reader.ReportBadValue(label, value);
    return false;
  }
  target = number;
  has = 1;
  return true;
}

// One of two spellings of a colour attribute (the first wins when both are given).
static bool ReadColour(AttributeReader& reader, const char* british, const char* britishLabel,
                       const char* american, const char* americanLabel, TextString& target) {
  TextString value;
  bool present = false;
  if (!reader.ReadRequired(british, kNoName, britishLabel, value, present)) return false;
  if (!present && !reader.ReadRequired(american, kNoName, americanLabel, value, present))
    return false;
  if (present) target = value;
  return true;
}

static constexpr WordCode kLocations[] = {
    {"left", kBarValueLeft},     {"l", kBarValueLeft},        {"right", kBarValueRight},
    {"r", kBarValueRight},       {"middle", kBarValueMiddle}, {"center", kBarValueMiddle},
    {"m", kBarValueMiddle},      {"c", kBarValueMiddle},      {"none", kBarValueNone},
    {"n", kBarValueNone},
};

GraphDefinition::GraphDefinition(PolicyContext& ctx, ErrorHandler& handler,
                                 const TextPosition& position, const TextString& attributes) {
  SetPosition(position);
  AttributeReader reader(ctx, handler, attributes);
  TextString name;
  if (!ReadOptional(reader, "name", kNoValue, "NAME", name)) return;
  SetName(name);
  if (!ReadReal(reader, "min", "MIN", minimum, hasMinimum)) return;
  if (!ReadReal(reader, "max", "MAX", maximum, hasMaximum)) return;
  if (hasMinimum && hasMaximum && maximum <= minimum) {
    reader.Report("TAG ERROR: MIN is not less than MAX");
    SetName(TextString());
    return;
  }
  TextString value;
  if (reader.Read("width", value) && !ReadInteger(value, barWidth)) {
    reader.ReportBadValue("WIDTH", value);
    return;
  }
  if (!ReadReal(reader, "origin", "ORIGIN", origin, hasOrigin)) return;
  if (!ReadColour(reader, "bgcolour", "BGCOLOUR", "bgcolor", "BGCOLOR", backgroundColour)) return;
  if (!ReadColour(reader, "colour", "COLOUR", "color", "COLOR", colour)) return;
  if (reader.Read("value_location", value)) {
    const int location = FindWordCode(kLocations, value);
    if (location < 0) {
      reader.ReportBadValue("VALUE_LOCATION", value);
      valueLocation = kBarValueLeft;
      return;
    }
    valueLocation = location;
  }
  if (!ReadOptional(reader, "null_value", kNoName, "NULL_VALUE", nullValue)) return;
  if (!ReadOptional(reader, "null_display", kNoName, "NULL_DISPLAY", nullDisplay)) return;
  valid_ = reader.CheckLeftover("TAG ERROR: unknown barchart attributes - ") ? 1 : 0;
}

// The row or column of a table-data definition: required, a decimal integer.
static bool ReadPlace(AttributeReader& reader, const char* name, const char* label, int& target) {
  TextString value;
  bool present = false;
  if (!reader.ReadRequired(name, kNoValue, label, value, present)) return false;
  if (!present) return true;
  if (ReadInteger(value, target)) return true;
  TextString lead("TAG ERROR: invalid value for \"");
  lead.Append(label);
  lead.Append("\"");
  reader.ReportWithValue(lead.GetText(), value, "\"");
  return false;
}

TableDataDefinition::TableDataDefinition(PolicyContext& ctx, ErrorHandler& handler,
                                         const TextPosition& position,
                                         const TextString& attributes) {
  SetPosition(position);
  AttributeReader reader(ctx, handler, attributes);
  TextString name;
  if (!ReadOptional(reader, "name", kNoValue, "NAME", name)) return;
  SetName(name);
  if (!ReadPlace(reader, "row", "ROW", row)) return;
  if (!ReadPlace(reader, "col", "COL", column)) return;
  if (GetName().IsEmpty()) {
    reader.Report("TAG ERROR: Definition has no NAME value - ignored");
    return;
  }
  valid_ = reader.CheckLeftover("TAG ERROR: unknown table data attributes - ") ? 1 : 0;
}

std::unique_ptr<TableDataDefinition> TableDataDefinition::Clone() const {
  auto copy = std::make_unique<TableDataDefinition>(GetName());
  copy->SetPosition(GetPosition());
  copy->valid_ = valid_;
  copy->row = row;
  copy->column = column;
  copy->cellText = cellText;
  return copy;
}
