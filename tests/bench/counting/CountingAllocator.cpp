// Replaces the global allocation functions of the program it is linked into (kvlcons_counting)
// with ones that count every allocation. When the environment names a file in
// KELVANE_ALLOCATION_COUNT, the count is written there at exit, so the program's own output
// stays as it is. Used by tests/bench/convert_corpus.sh for its allocations per line.
#include <cstdio>
#include <cstdlib>
#include <new>

static long long allocationCount = 0;
static bool reportRegistered = false;

static void WriteAllocationCount() {
  const char* path = std::getenv("KELVANE_ALLOCATION_COUNT");
  if (path == nullptr || *path == '\0') return;
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) return;
  std::fprintf(file, "%lld\n", allocationCount);
  std::fclose(file);
}

static void* CountedAllocation(std::size_t size) {
  if (!reportRegistered) {
    reportRegistered = true;
    std::atexit(WriteAllocationCount);
  }
  ++allocationCount;
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

static void* CountedAlignedAllocation(std::size_t size, std::align_val_t alignment) {
  ++allocationCount;
  const auto align = static_cast<std::size_t>(alignment);
  void* p = std::aligned_alloc(align, (size + align - 1) / align * align);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void* operator new(std::size_t size) { return CountedAllocation(size); }
void* operator new[](std::size_t size) { return CountedAllocation(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return CountedAllocation(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return CountedAlignedAllocation(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return CountedAlignedAllocation(size, alignment);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
