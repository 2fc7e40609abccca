#pragma once
// The lines of a large file in an encoding that is converted to UTF-8 as it
// is read (TLineReader with a decoding step): the first part at once, so
// that the first screen can be shown, and the rest by a worker
// (TBackgroundJob) that passes the load policy's gate first. The lines the
// worker converts become part of Count only when the owner's thread takes
// them (Take), so that Count never changes under a reader. Each line is
// stored as a list stores its own (StoreLine), in storage that the list
// takes over with the lines once every one is taken (Release).
//
// Destroying the text (the file closed or replaced) cancels the worker
// within one piece and waits for it: nothing of the text is left behind.

#include "Backgroundjob.h"
#include "Linereader.h"
#include "Loadpolicy.h"
#include "Viewedtext.h"

#include <memory>
#include <mutex>
#include <vector>

namespace ov {

class TReadOnlyFile;

class TConvertedText final : public TViewedText {
public:
    // Converts bytes start .. end - 1 of file, a piece of at most
    // pieceBytes at a time: as many pieces as make up policy.FirstPartBytes
    // now, the rest on the worker. EOutOfMemory as the list's own storage.
    TConvertedText(std::unique_ptr<TReadOnlyFile> file, std::int64_t start, std::int64_t end,
                   std::size_t pieceBytes, TLineReader::TStep step, const TLoadPolicy& policy);
    ~TConvertedText() override;

    int Count() const override { return static_cast<int>(FLines.size()); }
    const char* Text(int line) const override { return FLines[static_cast<std::size_t>(line)]; }
    int Length(int line) const override { return StoredLength(Text(line)); }
    // A converted line holds no NUL (the step made each a space).
    std::string_view Shown(int line, std::string&) const override { return View(line); }
    std::string_view ShownRow(int line, std::shared_ptr<const std::string>& keep) override {
        keep.reset();
        return View(line);
    }

    bool Pending() const override;
    double Progress() const override;
    // Takes the lines converted so far; EOutOfMemory, once, after them when
    // the worker had to stop early (the lines converted before stay).
    bool Take() override;
    void Finish() override;

    // Once nothing is pending: the lines, whose storage goes to arena.
    std::vector<char*> Release(TBlockArena& arena);

private:
    // Converts one piece into FArena; the lines go to lines. False at the end.
    bool ConvertPiece(std::vector<char*>& lines);
    void ConvertRest(TJobControl& control);
    // Room in FLines for arrived more lines (owner).
    void Reserve(std::size_t arrived);

    std::unique_ptr<TReadOnlyFile> FFile;
    TLineReader FReader;
    // The worker's while it runs; the owner's before and after.
    TBlockArena FArena;
    std::size_t FLineCount = 0; // converted (worker)
    mutable std::mutex FMutex;
    std::vector<char*> FArrived; // converted, not taken yet (FMutex)
    std::vector<char*> FLines;   // taken (owner)
    std::shared_ptr<TWorkerGate> FGate;
    std::atomic<bool> FCancel{false};
    std::unique_ptr<TBackgroundJob> FJob;
    bool FFailureTold = false;
};

} // namespace ov
