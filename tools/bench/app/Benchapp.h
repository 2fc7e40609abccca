#pragma once
// What every benchmark of the main window does around its own measuring:
// the program's runtime files taken from build/bin beside the benchmarks,
// the font substitutions the program installs, and the process's memory
// figures. Each benchmark makes its own application (offscreen unless it
// asks for a display) and its own message services before calling these.

namespace ov::bench {

// The program's runtime files and fonts, as the program itself has them.
void UseProgramFolder();

// A field of /proc/self/status in KiB (RssAnon, VmHWM), -1 when unknown.
long StatusKiB(const char* field);

} // namespace ov::bench
