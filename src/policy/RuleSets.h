#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Rule sets: named bundles of policy values that a customer's document style forces. The
// values are data; FileControl::ApplyDerivedDefaults assigns them through the rule-set
// assignment of each policy (which respects the force argument and explicit settings).

// Rule-set codes as policy sets keep them.
enum RuleSetCode : int {
  kRuleSetNone = 0,
  kRuleSetPembrelle = 1,
  kRuleSetZur = 2,
};

// Where a forced value goes.
enum class RuleSetTarget : std::uint8_t {
  Policy,                 // a registered policy of the set (id is a PolicyId)
  TablePolicy,            // a policy of the default table policies (id is a TablePolicyId)
  TablePolicyProductTen,  // as TablePolicy, only when the product identity is 10
};

// One forced value: number for the integer kinds (Bool 0/1, Align and List codes), text for
// the text kinds.
struct RuleSetValue {
  RuleSetTarget target;
  std::uint16_t id;
  int number;
  std::string_view text;
};

// The values that every rule set (1 and 2) forces, in assignment order.
std::span<const RuleSetValue> CommonRuleSetValues();
// The further values of one rule set, assigned after the common ones; empty for code 0 and
// for unknown codes.
std::span<const RuleSetValue> OwnRuleSetValues(int code);
// True for the codes that force values (1 and 2).
inline bool IsForcingRuleSet(int code) { return code == kRuleSetPembrelle || code == kRuleSetZur; }
