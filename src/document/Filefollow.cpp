#include "Filefollow.h"

#include <algorithm>

namespace ov {

TFileFollower::TFileFollower(std::string path) : FPath(std::move(path)) {
    if (FPath.empty())
        return;
    FState = FileStateOf(FPath);
    FTail = ReadTail(FState);
    FPreviousSize = FState.Size;
}

// The opening reads only the bytes before the end the state says; a file
// that has shrunk meanwhile gives fewer, which compare as a change.
std::string TFileFollower::ReadTail(const TFileState& state) const {
    if (!state.Exists || state.Size == 0)
        return {};
    TReadOnlyFile file;
    if (!file.Open(FPath) || file.IsUnsized())
        return {};
    const std::int64_t count = std::min<std::int64_t>(TailBytes, state.Size);
    std::string tail(static_cast<std::size_t>(count), '\0');
    const std::int64_t read = file.ReadAt(state.Size - count, tail.data(), count);
    tail.resize(static_cast<std::size_t>(std::max<std::int64_t>(read, 0)));
    return tail;
}

TFileChange TFileFollower::Check() {
    if (FPath.empty())
        return TFileChange::None;
    const TFileState now = FileStateOf(FPath);
    const TFileState before = FState;
    FState = now;
    FPreviousSize = before.Size;
    if (!now.Exists) {
        FTail.clear();
        return before.Exists ? TFileChange::Gone : TFileChange::None;
    }
    if (!before.Exists || !now.SameFileAs(before)) {
        FTail = ReadTail(now);
        return TFileChange::Replaced;
    }
    if (now == before)
        return TFileChange::None;
    const std::string oldTail = FTail;
    FTail = ReadTail(now);
    if (now.Size > before.Size) {
        // The bytes that ended the file before must still stand there.
        TFileState then = now;
        then.Size = before.Size;
        if (ReadTail(then) == oldTail)
            return TFileChange::Appended;
    }
    return TFileChange::Rewritten;
}

} // namespace ov
