#pragma once
// Shared pieces of the hex viewer tests: a shown viewer of a fixed size,
// patterned files and a look at the pixels of one screen row.

#include "Ovhexviewer.h"
#include "Testsupport.h"

#include <QImage>

#include <memory>
#include <string>

namespace ov::test {

// Bytes whose value changes with the offset, so a row from the wrong place shows.
std::string PatternBytes(int64_t size, int seed = 0);

// A viewer shown offscreen with a viewport of exactly width x height.
std::unique_ptr<TOVHexViewer> MakeViewer(int width = 640, int height = 300);

// Pixels of the viewer's back buffer in screen row r's band whose colour
// differs from the background, between x pixels from and to (exclusive).
int InkInRow(const TOVHexViewer& viewer, int screenRow, int from, int to);

// Saves the back buffer as name (a .png) in ORVANE_HEXVIEW_SNAPSHOTS when
// that folder is set, otherwise in folder, and the whole control with frame
// and bars beside it; returns whether the picture was written.
bool SaveSnapshot(TOVHexViewer& viewer, const TTempFolder& folder, const std::string& name);

// A file of size bytes that holds data only at its end: size - tail.size()
// zero bytes (a hole, taking no disk space) followed by tail.
std::string WriteSparseFile(const std::string& path, int64_t size, const std::string& tail);

} // namespace ov::test
