#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace mirvel {

// Asks for huge pages over a freshly allocated, not yet touched buffer of many megabytes. A
// large import or load otherwise spends much of its time taking one page fault per 4 KiB of
// its input and of its record list, and again unmapping them; with 2 MiB pages that nearly
// vanishes. A hint only: nothing changes where the system declines it (Windows gives large
// pages only with a privilege that users don't hold, so there the buffer stays as it is).
inline void PreferHugePages([[maybe_unused]] const void* data, [[maybe_unused]] std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t Huge = std::uintptr_t{2} << 20;
    if (bytes < 2 * Huge) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t last = (start + bytes) & ~(Huge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

}  // namespace mirvel
