#pragma once
// How a viewed file is loaded and marked: how much is done at once before the
// first screen, from what size work moves to a worker thread, and a gate the
// workers pass before they begin. The defaults are the program's; tests hand
// in small sizes and a gate they hold, so that what they see between the
// first part and the rest never depends on the machine's speed.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace ov {

// Open unless held. A worker passes it before its work; whoever cancels the
// worker wakes the gate (Wake) so that a held worker sees the cancel.
class TWorkerGate {
public:
    void Hold();
    void Release();
    // Returns once the gate is open or cancel is set.
    void Pass(const std::atomic<bool>& cancel);
    // Makes waiting workers look at their cancel flags again.
    void Wake();

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    bool FHeld = false;
};

struct TLoadPolicy {
    // The part of a mapped file indexed at once; the rest is indexed by a
    // worker while the first screen is shown.
    std::uint64_t FirstPartBytes = 16 << 20;
    // Documents of at least this many bytes are highlighted by a worker.
    std::uint64_t BackgroundHighlightBytes = 8 << 20;
    // Commands over a mapped document of at least this many bytes (a find,
    // a copy, a page written) run on a worker, as every command does while
    // the document is still indexed; smaller ones run at once.
    std::uint64_t BackgroundCommandBytes = 16 << 20;
    // Null: workers never wait. Shared by the holder and every worker that
    // passes it, so that it outlives both.
    std::shared_ptr<TWorkerGate> Gate;
};

} // namespace ov
