#pragma once

#include "text/TextPosition.h"
#include "text/TextString.h"

// A named table definition (alarm, column format, graph or table-data definition) as the
// definition lists of the Context hold it. Only what the registries need is here: the name
// they look definitions up by and the place the definition was made. The lists own their
// definitions and destroy them through the virtual destructor.
class BaseDefinition {
 public:
  BaseDefinition() = default;
  explicit BaseDefinition(const TextString& name) : name_(name) {}
  virtual ~BaseDefinition();
  // Owned by one list; copying would blur which list frees it.
  BaseDefinition(const BaseDefinition&) = delete;
  BaseDefinition& operator=(const BaseDefinition&) = delete;

  const TextString& GetName() const { return name_; }
  void SetName(const TextString& name) { name_ = name; }
  const TextPosition& GetPosition() const { return position_; }
  void SetPosition(const TextPosition& position) { position_ = position; }

 private:
  TextString name_;
  TextPosition position_;
};

// A condition on a cell value and what to apply when it holds.
class AlarmDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  ~AlarmDefinition() override;
};

// The settings of one table column (identifier, barchart, alarms).
class FormatDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  ~FormatDefinition() override;
};

// How a numeric column is drawn as a bar.
class GraphDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  ~GraphDefinition() override;
};

// A named cell of a table, by row and column.
class TableDataDefinition : public BaseDefinition {
 public:
  using BaseDefinition::BaseDefinition;
  ~TableDataDefinition() override;
};
