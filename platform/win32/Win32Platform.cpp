// Assembles the Win32 backends; no system calls of its own.
#include "platform/win32/Win32Platform.h"

namespace tidemark::win32 {

Win32Platform::Win32Platform()
    : files_(clock_),
      launcher_(clock_),
      platform_{clock_, files_, locks_, codePage_, process_, accounts_, registry_,
                folders_, display_, os_, launcher_, access_, messages_, locale_, memory_,
                processes_, shortcuts_, instances_, ramhold_, events_} {}

Win32Platform::~Win32Platform() = default;

} // namespace tidemark::win32
