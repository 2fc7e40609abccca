#pragma once
// The command-line export: "orvane --export-html IN OUT [--lang NAME]".
// Runs without any window or font: main() calls it before a Qt object exists.

#include <ostream>
#include <string>
#include <vector>

namespace ov {

// args: the arguments after "--export-html". Loads IN as the viewer would,
// takes its language from NAME or from "langlink.ini" beside the executable,
// highlights it with the definitions in the Syntax folder beside the
// executable and writes the page of the Save as HTML command to OUT.
// Returns the exit status: 0 done; 1 when IN cannot be read, OUT cannot be
// written (or is IN), no language applies or a definition cannot be read;
// 2 for wrong arguments. Every failure writes one line to err.
int ExportHtmlCommand(const std::vector<std::string>& args, std::ostream& err);

} // namespace ov
