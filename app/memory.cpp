// Memory exhaustion anywhere in the program ends through the fatal error, with the number of
// bytes that could not be had. The replaced allocation functions know that number; a
// new-handler would not.

#include "app/fatal_error.h"

#include <cstdlib>
#include <new>

namespace {
void *allocate(std::size_t bytes) {
  if (bytes == 0)
    bytes = 1;
  if (void *p = std::malloc(bytes))
    return p;
  app::outOfMemory(bytes);
}
} // namespace

void *operator new(std::size_t bytes) { return allocate(bytes); }
void *operator new[](std::size_t bytes) { return allocate(bytes); }
void *operator new(std::size_t bytes, const std::nothrow_t &) noexcept { return std::malloc(bytes ? bytes : 1); }
void *operator new[](std::size_t bytes, const std::nothrow_t &) noexcept { return std::malloc(bytes ? bytes : 1); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
