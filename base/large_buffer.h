#pragma once

// Room for a buffer of many megabytes. On a large file, faulting in fresh
// 4 KiB pages one at a time costs about as much as re-flowing the text, so
// the buffer asks the kernel for huge pages where they are on offer (the
// "madvise" setting of transparent huge pages, the usual default). Small
// buffers are reserved as usual.

#include <sys/mman.h>

#include <cstdint>
#include <string>

namespace brindlewort {

inline void reserveLargeBuffer(std::string& buffer, std::size_t bytes) {
  buffer.reserve(bytes);
  constexpr std::uintptr_t hugePage = std::uintptr_t{1} << 21;
  if (buffer.capacity() < hugePage) return;
  // Only whole huge pages inside the buffer can be backed by one; the
  // advice is a hint, so a kernel without them simply ignores it.
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
  const std::uintptr_t first = (begin + hugePage - 1) & ~(hugePage - 1);
  const std::uintptr_t last = (begin + buffer.capacity()) & ~(hugePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace brindlewort
