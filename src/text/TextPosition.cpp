#include "text/TextPosition.h"

int TextPosition::Compare(const TextPosition& other) const {
  if (line_ != other.line_)
    return line_ < other.line_ ? -2 : 2;
  if (column_ != other.column_)
    return column_ < other.column_ ? -1 : 1;
  return 0;
}

void DefineScope::Set(const TextPosition& position, int type, int value) {
  position_ = position;
  value_ = value;
  visibleToKind1_ = type != 2;
  visibleToKind2_ = type != 1;
}

bool DefineScope::Covers(const ScopeQuery& query) const {
  switch (query.kind) {
    case 0:
      if (!visibleToKind1_ || !visibleToKind2_)
        return false;
      break;
    case 1:
      if (!visibleToKind1_)
        return false;
      break;
    case 2:
      if (!visibleToKind2_)
        return false;
      break;
    default:
      return false;
  }
  if (!query.position.IsSet() || query.inclusionType == 0)
    return true;
  if (query.position.GetLine() != position_.GetLine())
    return false;
  const int q = query.position.GetColumn();
  const int s = position_.GetColumn();
  switch (query.inclusionType) {
    case 1:
      return q < s;
    case 2:
      return q <= s;
    case 3:
      return q > s;
    case 4:
      return q >= s;
    default:
      return false;
  }
}
