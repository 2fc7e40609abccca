#include "Convertedtext.h"

#include "Errors.h"
#include "Files.h"

#include <algorithm>
#include <climits>
#include <new>

namespace ov {

TConvertedText::TConvertedText(std::unique_ptr<TReadOnlyFile> file, std::int64_t start,
                               std::int64_t end, std::size_t pieceBytes,
                               TLineReader::TStep step, const TLoadPolicy& policy)
    : FFile(std::move(file)), FReader(*FFile, start, end, pieceBytes, std::move(step)),
      FGate(policy.Gate) {
    bool more = true;
    while (more && static_cast<std::uint64_t>(FReader.Offset() - start) < policy.FirstPartBytes)
        more = ConvertPiece(FLines);
    if (more)
        FJob = std::make_unique<TBackgroundJob>([this](TJobControl& control) { ConvertRest(control); });
}

TConvertedText::~TConvertedText() {
    FCancel.store(true);
    if (FGate)
        FGate->Wake();
    FJob.reset(); // waits for the worker
}

bool TConvertedText::ConvertPiece(std::vector<char*>& lines) {
    auto add = [&](std::string_view line) {
        if (FLineCount >= static_cast<std::size_t>(INT_MAX - 1))
            ThrowOutOfMemory(); // more lines than a list can count
        lines.push_back(StoreLine(FArena, line));
        ++FLineCount;
    };
    try {
        return FReader.Next(add);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
}

void TConvertedText::ConvertRest(TJobControl& control) {
    if (FGate)
        FGate->Pass(FCancel);
    std::vector<char*> lines;
    bool more = true;
    while (more && !FCancel.load(std::memory_order_relaxed)) {
        // A failure ends the text where it came: the lines before it stay.
        struct TPublish {
            TConvertedText& Text;
            std::vector<char*>& Lines;
            ~TPublish() {
                std::lock_guard<std::mutex> lock(Text.FMutex);
                Text.FArrived.insert(Text.FArrived.end(), Lines.begin(), Lines.end());
                Lines.clear();
            }
        } publish{*this, lines};
        more = ConvertPiece(lines);
        control.SetProgress(FReader.Progress());
    }
}

bool TConvertedText::Pending() const {
    if (FJob && !FJob->Done())
        return true;
    std::lock_guard<std::mutex> lock(FMutex);
    return !FArrived.empty();
}

double TConvertedText::Progress() const {
    return FJob && !FJob->Done() ? FJob->Progress() : 1.0;
}

// Readers index FLines without a lock, so it grows on this thread only;
// grown by doubling alone, its last copies would be of millions of entries
// in one tick. It is sized for the whole text as estimated from how far the
// worker has read, while it is still small, and grows by doubling beyond.
void TConvertedText::Reserve(std::size_t arrived) {
    const std::size_t needed = FLines.size() + arrived;
    if (needed <= FLines.capacity())
        return;
    std::size_t want = std::max(needed, FLines.capacity() * 2);
    const double done = FJob ? FJob->Progress() : 1.0;
    if (done > 0.01 && done < 1.0)
        want = std::max(want, static_cast<std::size_t>(static_cast<double>(needed) / done * 1.1));
    try {
        FLines.reserve(want);
    } catch (const std::bad_alloc&) {
        FLines.reserve(needed); // the estimate is only a help
    }
}

bool TConvertedText::Take() {
    const std::size_t before = FLines.size();
    {
        std::lock_guard<std::mutex> lock(FMutex);
        Reserve(FArrived.size());
        FLines.insert(FLines.end(), FArrived.begin(), FArrived.end());
        FArrived.clear();
    }
    if (FJob && FJob->Done() && !FFailureTold) {
        FFailureTold = true;
        FJob->Rethrow();
    }
    return FLines.size() > before;
}

void TConvertedText::Finish() {
    if (FJob)
        FJob->Wait();
    Take();
}

std::vector<char*> TConvertedText::Release(TBlockArena& arena) {
    arena.Append(std::move(FArena));
    return std::move(FLines);
}

} // namespace ov
