#include "policy/PolicyEntry.h"

#include "policy/KeyValueLine.h"

// The constructors guarantee that the policy is of the kind the type code names, so the
// downcasts below are exact.

int PolicyEntry::Write(TextFile& out, int all) const {
  switch (type) {
    case kIntPolicy:
      return WriteIntPolicyLine(out, all, *static_cast<const IntPolicy*>(policy));
    case kBoolPolicy:
      return WriteBoolPolicyLine(out, all, *static_cast<const BoolPolicy*>(policy));
    case kTextPolicy:
      return WriteTextPolicyLine(out, all, *static_cast<const TextPolicy*>(policy));
    case kAlignPolicy:
      return WriteAlignPolicyLine(out, all, *static_cast<const AlignPolicy*>(policy));
    case kColourPolicy:
      return WriteColourPolicyLine(out, all, *static_cast<const ColourPolicy*>(policy));
    case kFontPolicy:
      return WriteFontPolicyLine(out, all, *static_cast<const FontPolicy*>(policy));
    case kListPolicy:
      return WriteListPolicyLine(out, all, *static_cast<const ListPolicy*>(policy));
  }
  return 0;
}

int PolicyEntry::ParseLine(KeyValueLine& line) const {
  switch (type) {
    case kIntPolicy:
      return ParseIntPolicyLine(line, *static_cast<IntPolicy*>(policy), -1, -1);
    case kBoolPolicy:
      return ParseBoolPolicyLine(line, *static_cast<BoolPolicy*>(policy));
    case kTextPolicy:
      return ParseTextPolicyLine(line, *static_cast<TextPolicy*>(policy));
    case kAlignPolicy:
      return ParseAlignPolicyLine(line, *static_cast<AlignPolicy*>(policy));
    case kColourPolicy:
      return ParseColourPolicyLine(line, *static_cast<ColourPolicy*>(policy));
    case kFontPolicy:
      return ParseFontPolicyLine(line, *static_cast<FontPolicy*>(policy));
    case kListPolicy:
      return ParseListPolicyLine(line, *static_cast<ListPolicy*>(policy));
  }
  return 0;
}

void PolicyEntry::CopyFrom(const PolicyEntry& other) const {
  if (other.type != type) return;
  policy->CopyValue(*other.policy);
}

void PolicyEntry::MergeFrom(int level, const PolicyEntry& other) const {
  if (other.type != type) return;
  policy->Merge(level, *other.policy);
}
