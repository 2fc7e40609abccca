#pragma once
// The --snapshot run: shows the main window, renders it into a PNG file
// after its first paint and ends the event loop without closing the window,
// so the settings file is never written. It never waits for a user: questions
// are answered yes and messages go to stderr.

#include <string>

namespace ov {

class TMainForm;

// Shows form, runs the event loop until the picture is written, and returns
// the exit status: 0 when the PNG was written, 1 otherwise (with a line on
// stderr).
int RunSnapshot(TMainForm& form, const std::string& pngFile);

} // namespace ov
