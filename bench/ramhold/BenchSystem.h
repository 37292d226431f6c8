// What the Ramhold benchmark measures against: the machine's own memory,
// through the engine's page memory and through nothing at all.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "ramhold/PageMemory.h"

namespace tidemark::ramhold::bench {

// The page memory a real cleaning uses on this system.
std::unique_ptr<PageMemory> makeSystemPageMemory();

// The plain limit: commit `bytes`, write one byte per page, free. No engine,
// no thread. False when the commit failed.
bool bareClaimTouchRelease(std::size_t bytes, std::size_t pageSize);

// For the report's first line.
std::string systemName();

} // namespace tidemark::ramhold::bench
