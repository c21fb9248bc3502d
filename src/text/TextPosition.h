#pragma once

// A place in the input: line and column; -1 in either means unset.
class TextPosition {
 public:
  TextPosition() = default;
  TextPosition(int line, int column) : line_(line), column_(column) {}

  void Reset() {
    line_ = -1;
    column_ = -1;
  }
  void Assign(const TextPosition& other) { *this = other; }
  void Set(int line, int column) {
    line_ = line;
    column_ = column;
  }
  // True when both line and column are 0 or more.
  bool IsSet() const { return line_ >= 0 && column_ >= 0; }
  // -2 / 2 when this line is before / after the other's; with equal lines -1, 0 or 1 as
  // this column is before, equal to or after the other's.
  int Compare(const TextPosition& other) const;

  int GetLine() const { return line_; }
  int GetColumn() const { return column_; }
  void SetLine(int line) { line_ = line; }
  void SetColumn(int column) { column_ = column; }

 private:
  int line_ = -1;
  int column_ = -1;
};

// One visibility lookup: who asks (kind 0 any, 1, 2), how the place is tested
// (inclusion type 0 to 4) and where the asker stands.
struct ScopeQuery {
  ScopeQuery(const TextPosition& position, int kind, int inclusionType)
      : kind(kind), inclusionType(inclusionType), position(position) {}

  int kind;
  int inclusionType;
  TextPosition position;
};

// The visibility of one definition: to which kinds it is visible, its owner's value and
// where it was made. A new scope is visible to both kinds at line 0, column 1.
class DefineScope {
 public:
  DefineScope() = default;

  // Stores position and value; type 1 makes the scope visible to kind 1 only, type 2 to
  // kind 2 only, any other type to both.
  void Set(const TextPosition& position, int type, int value);

  // Kind test: kind 0 needs both flags, 1 or 2 its own flag, any other kind fails.
  // Place test: passes when the query's position is unset or its inclusion type is 0;
  // otherwise the lines must be equal and the query column q against the scope column s
  // must satisfy type 1: q < s, 2: q <= s, 3: q > s, 4: q >= s (other types fail).
  bool Covers(const ScopeQuery& query) const;

  bool IsVisibleToKind1() const { return visibleToKind1_; }
  bool IsVisibleToKind2() const { return visibleToKind2_; }
  int GetValue() const { return value_; }
  void SetValue(int value) { value_ = value; }
  const TextPosition& GetPosition() const { return position_; }

 private:
  bool visibleToKind1_ = true;
  bool visibleToKind2_ = true;
  int value_ = 0;
  TextPosition position_{0, 1};
};
