#pragma once
// TFileFollower: what became of a shown file since it was last looked at.
// It keeps the file's state (Files.h) and the last bytes before its end,
// and on each Check compares them with the path's present state:
//
// - Appended: the same file, longer, the bytes before the old end as they
//   were: what lies past the old end is new.
// - Rewritten: the same file, but not just longer: shorter (a log rotated by
//   copying and truncating it), or the bytes before the old end changed (cut
//   short and written past the old size between two looks), or as long but
//   written since. Only reading it again from its start shows it truly.
// - Replaced: the path names another file (a log rotated by renaming it and
//   starting a new one), or names a file again after it was gone.
// - Gone: the path names no file any more (said once; the next change is
//   Replaced when a file comes back under the name).
//
// It never writes the file, and holds no opening of it between checks.

#include "Files.h"

#include <cstdint>
#include <string>

namespace ov {

enum class TFileChange { None, Appended, Rewritten, Replaced, Gone };

class TFileFollower {
public:
    TFileFollower() = default;
    // Takes path's present state as the shown one; an empty path follows
    // nothing (Check is then always None).
    explicit TFileFollower(std::string path);

    const std::string& Path() const { return FPath; }
    // The state the last Check (or the construction) took as shown.
    const TFileState& State() const { return FState; }
    // Compares and takes the present state as the shown one.
    TFileChange Check();
    // The size before the last change that Check reported as Appended: the
    // new bytes start there.
    std::int64_t PreviousSize() const { return FPreviousSize; }

    // The bytes compared before the old end.
    static constexpr int TailBytes = 64;

private:
    std::string ReadTail(const TFileState& state) const;

    std::string FPath;
    TFileState FState;
    std::string FTail;
    std::int64_t FPreviousSize = 0;
};

} // namespace ov
