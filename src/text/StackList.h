#pragma once

#include <array>
#include <cstddef>
#include <memory_resource>
#include <vector>

// A working list that keeps its first N elements inside the object, so that a list made for
// one line or one region (a local variable) costs no allocation while it stays that short.
// Longer, it allocates as a std::vector does; what it allocated is freed with the object.
template <typename T, std::size_t N>
class StackList {
 public:
  StackList() { items_.reserve(N); }
  // The list's elements lie inside the object.
  StackList(const StackList&) = delete;
  StackList& operator=(const StackList&) = delete;

  std::pmr::vector<T>& Items() { return items_; }

 private:
  // Room for N elements and for the list grown once to twice as many.
  alignas(T) std::array<std::byte, 3 * N * sizeof(T)> room_;
  std::pmr::monotonic_buffer_resource resource_{room_.data(), room_.size()};
  std::pmr::vector<T> items_{&resource_};
};
