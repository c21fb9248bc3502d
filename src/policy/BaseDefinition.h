#pragma once

#include <memory>

#include "text/TextPosition.h"
#include "text/TextString.h"

class PolicyContext;
class ErrorHandler;

// A named table definition (alarm, column format, barchart or table-data definition). The
// definition lists of the Context and the table policies own definitions and destroy them
// through the virtual destructor.
//
// Each kind is built from an attribute text (NAME=value, NAME="value" or NAME='value'), as a
// definition directive or a line of the table definitions file gives it. Every attribute the
// kind knows is taken out of the text in turn; text left over is reported and makes the
// definition invalid. Errors are reported at level 10 through the given handler and stop the
// parse with the definition invalid.
class BaseDefinition {
 public:
  BaseDefinition() = default;
  explicit BaseDefinition(const TextString& name) : name_(name) {}
  virtual ~BaseDefinition();
  // Owned by one list; copying would blur which list frees it (table data has Clone).
  BaseDefinition(const BaseDefinition&) = delete;
  BaseDefinition& operator=(const BaseDefinition&) = delete;

  const TextString& GetName() const { return name_; }
  void SetName(const TextString& name) { name_ = name; }
  const TextPosition& GetPosition() const { return position_; }
  void SetPosition(const TextPosition& position) { position_ = position; }
  // 1 when the attribute text was read completely and without error.
  int IsValid() const { return valid_; }

 protected:
  int valid_ = 0;

 private:
  TextString name_;
  TextPosition position_;
};

// Comparison types of an alarm.
enum AlarmComparison : int {
  kAlarmNone = 0,
  kAlarmLessThan = 1,        // lt
  kAlarmLessOrEqual = 2,     // le
  kAlarmEqual = 3,           // eq
  kAlarmNotEqual = 4,        // ne
  kAlarmGreaterOrEqual = 5,  // ge
  kAlarmGreaterThan = 6,     // gt
  kAlarmEqualText = 7,       // eqs
  kAlarmNotEqualText = 8,    // nes
};

// A condition on a cell value and what to apply when it holds. Attributes: name, type,
// column_value, value, alarm_color, cellatts, CSS_ID. An alarm without a type is dropped
// without a report: its name is emptied.
class AlarmDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  AlarmDefinition(PolicyContext& ctx, ErrorHandler& handler, const TextPosition& position,
                  const TextString& attributes);
  ~AlarmDefinition() override;

  int comparison = kAlarmNone;
  int columnValue = 0;
  // A value that reads as a decimal number is kept as the number, any other as the text.
  TextString valueText;
  double valueNumber = 0.0;
  TextString cellAttributes;
  TextString alarmColour{"red"};
  TextString cssId;
};

// The settings of one table column: a CSS identifier, a barchart name and a comma-separated
// list of alarm names. Attributes: name, CSS_ID, barchart, alarms.
class FormatDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  FormatDefinition(PolicyContext& ctx, ErrorHandler& handler, const TextPosition& position,
                   const TextString& attributes);
  ~FormatDefinition() override;

  TextString cssId;
  TextString barchartName;
  TextString alarmNames;
};

// Where a barchart writes its value.
enum BarValueLocation : int {
  kBarValueNone = 0,
  kBarValueLeft = 1,
  kBarValueMiddle = 2,
  kBarValueRight = 3,
};

// How a numeric column is drawn as a bar. Attributes: name, min, max, width, origin,
// bgcolour (or bgcolor), colour (or color), value_location, null_value, null_display. A
// minimum that is not below the maximum drops the definition (its name is emptied).
class GraphDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  GraphDefinition(PolicyContext& ctx, ErrorHandler& handler, const TextPosition& position,
                  const TextString& attributes);
  ~GraphDefinition() override;

  int barWidth = 200;
  int valueLocation = kBarValueLeft;
  TextString colour{"blue"};
  TextString backgroundColour;
  double minimum = 0.0;
  double maximum = 0.0;
  double origin = 0.0;
  int hasMinimum = 0;
  int hasOrigin = 0;
  int hasMaximum = 0;
  TextString nullValue;
  TextString nullDisplay;
};

// A named cell of a table, by row and column. Attributes: name, row, col. When a table is
// read, the text of the cell at that place becomes the cell text.
class TableDataDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  TableDataDefinition(PolicyContext& ctx, ErrorHandler& handler, const TextPosition& position,
                      const TextString& attributes);
  ~TableDataDefinition() override;

  // A new definition with the same name, position, valid flag, row, column and cell text.
  std::unique_ptr<TableDataDefinition> Clone() const;

  int row = 0;
  int column = 0;
  TextString cellText;
};
