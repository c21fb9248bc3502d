#pragma once

#include <array>
#include <cassert>
#include <cstddef>

#include "policy/CorePolicy.h"
#include "policy/PolicyTable.h"

// The policies of a small group kept by value, one array per kind, and found by kind and slot
// (a row's position among the group's policies of its kind, see AssignKindSlots). Groups
// with a table of rows of their own (the table formats) hold one and look their rows up here.
template <std::size_t IntCount, std::size_t BoolCount, std::size_t AlignCount,
          std::size_t TextCount, std::size_t ColourCount>
class PolicyGroup {
 public:
  // REQUIRES: kind is one the group holds and slot lies within its array.
  CorePolicy& At(PolicyKind kind, std::size_t slot) {
    switch (kind) {
      case PolicyKind::Int: return ints_[slot];
      case PolicyKind::Bool: return bools_[slot];
      case PolicyKind::Align: return aligns_[slot];
      case PolicyKind::Text: return texts_[slot];
      case PolicyKind::Colour: return colours_[slot];
      case PolicyKind::Font:
      case PolicyKind::List: break;
    }
    assert(false && "a policy group holds no font or list policy");
    return ints_[0];
  }
  const CorePolicy& At(PolicyKind kind, std::size_t slot) const {
    return const_cast<PolicyGroup*>(this)->At(kind, slot);
  }

  // Typed access; kind is the row's kind, checked against the one asked for.
  IntPolicy& Int([[maybe_unused]] PolicyKind kind, std::size_t slot) {
    assert(kind == PolicyKind::Int && "not an Int policy");
    return ints_[slot];
  }
  BoolPolicy& Bool([[maybe_unused]] PolicyKind kind, std::size_t slot) {
    assert(kind == PolicyKind::Bool && "not a Bool policy");
    return bools_[slot];
  }
  AlignPolicy& Align([[maybe_unused]] PolicyKind kind, std::size_t slot) {
    assert(kind == PolicyKind::Align && "not an Align policy");
    return aligns_[slot];
  }
  TextPolicy& Text([[maybe_unused]] PolicyKind kind, std::size_t slot) {
    assert(kind == PolicyKind::Text && "not a Text policy");
    return texts_[slot];
  }
  ColourPolicy& Colour([[maybe_unused]] PolicyKind kind, std::size_t slot) {
    assert(kind == PolicyKind::Colour && "not a Colour policy");
    return colours_[slot];
  }

  // Registers the policy at (kind, slot): key, category and default (defaultValue for the
  // integer kinds, defaultText for the text kinds), value := default, both marks cleared.
  void Register(PolicyKind kind, std::size_t slot, int category, int defaultValue,
                const char* defaultText, const char* key) {
    switch (kind) {
      case PolicyKind::Int:
      case PolicyKind::Bool:
      case PolicyKind::Align:
        InitScalarPolicy(static_cast<ScalarPolicy&>(At(kind, slot)), category, defaultValue, key);
        return;
      case PolicyKind::Text:
      case PolicyKind::Colour:
        InitTextPolicy(static_cast<TextValuePolicy&>(At(kind, slot)), category, defaultText, key);
        return;
      case PolicyKind::Font:
      case PolicyKind::List: break;
    }
    assert(false && "a policy group holds no font or list policy");
  }

 private:
  std::array<IntPolicy, IntCount> ints_;
  std::array<BoolPolicy, BoolCount> bools_;
  std::array<AlignPolicy, AlignCount> aligns_;
  std::array<TextPolicy, TextCount> texts_;
  std::array<ColourPolicy, ColourCount> colours_;
};
