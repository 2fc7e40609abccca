#include "Viewerhighlighter.h"

#include "Openstyles.h"
#include "Ovsynhighlighter.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <stdexcept>
#include <thread>
#include <vector>

namespace ov {

namespace {

// Scans a view of the document's text on a worker thread, with a
// highlighter of its own (so that the viewer's highlighter and document are
// never touched by two threads), holding a few rows' marks at a time. It
// records checkpoints: rows at whose start the scan stood at the top with
// nothing open, and no style open for painting, about every
// CheckpointSpacing rows.
class TBackgroundJob {
public:
    static constexpr int CheckpointSpacing = 256;

    TBackgroundJob(const TOVSynHighlighter& model, const TOVSynStringList& lines,
                   std::shared_ptr<TWorkerGate> gate)
        : FHighlighter(model.Folder(), model.UserFolder()), FGate(std::move(gate)) {
        FHighlighter.SetLang(model.LangName()); // may throw: no job then
        FHighlighter.SetCancelFlag(&FCancel);
        if (!FLines.ShareMappedText(lines))
            throw std::logic_error("not a mapped document");
        FThread = std::thread([this] {
            if (FGate)
                FGate->Pass(FCancel);
            try {
                FMarked = Scan() && !FCancel.load();
            } catch (...) {
                FMarked = false;
            }
            FDone.store(true, std::memory_order_release);
        });
    }
    ~TBackgroundJob() {
        FCancel.store(true);
        if (FGate)
            FGate->Wake();
        FThread.join();
    }
    TBackgroundJob(const TBackgroundJob&) = delete;
    TBackgroundJob& operator=(const TBackgroundJob&) = delete;

    bool Done() const { return FDone.load(std::memory_order_acquire); }
    // After Done: the checkpoints, and the languages the worker's scan added
    // (pages with script or style sections) added to highlighter in the same
    // slots, so that marks made from a checkpoint name the same styles.
    bool Deliver(TOVSynHighlighter& highlighter, std::vector<int>& checkpoints) {
        if (!Done() || !FMarked || FCheckpoints.empty())
            return false;
        const std::vector<std::string>& languages = FHighlighter.Languages();
        for (std::size_t slot = highlighter.Languages().size(); slot < languages.size(); ++slot)
            highlighter.AddLang(languages[slot]);
        // Slots the viewer's highlighter kept from an earlier document may
        // follow; the worker's must be the same as far as they go.
        const std::vector<std::string>& held = highlighter.Languages();
        if (held.size() < languages.size() || !std::equal(languages.begin(), languages.end(), held.begin()))
            return false;
        checkpoints.swap(FCheckpoints);
        return true;
    }

private:
    bool Scan() {
        std::deque<int> candidates; // top rows not yet final
        TStyleByte stack[TOpenStyleRecord::StackSize] = {};
        int depth = 0;
        int done = 0;
        const int count = FLines.Count();
        auto final = [&](int end) {
            for (; done < end && done < count; ++done) {
                while (!candidates.empty() && candidates.front() < done)
                    candidates.pop_front();
                if (!candidates.empty() && candidates.front() == done && depth == 0 &&
                    (FCheckpoints.empty() || done >= FCheckpoints.back() + CheckpointSpacing))
                    FCheckpoints.push_back(done);
                const TOVSynStringList& rows = FLines;
                TOpenStyleRecord::Replay(rows.RowStyles(done), rows.RowLength(done), stack, depth);
            }
        };
        FLines.StreamMarks(final);
        FHighlighter.SetTopRowHook([&](int row) {
            if (candidates.empty() || candidates.back() < row)
                candidates.push_back(row);
        });
        const bool marked = FHighlighter.ExecuteAway(FLines);
        if (!FCancel.load())
            final(count); // the rows the scan left final at its end
        FHighlighter.SetTopRowHook(nullptr);
        FLines.StreamMarks(nullptr);
        return marked;
    }

    TOVSynHighlighter FHighlighter;
    TOVSynStringList FLines;
    std::vector<int> FCheckpoints;
    std::atomic<bool> FCancel{false};
    std::atomic<bool> FDone{false};
    bool FMarked = false; // read after FDone
    std::shared_ptr<TWorkerGate> FGate;
    std::thread FThread;
};

class TSyntaxHighlighter : public TViewerHighlighter {
public:
    TSyntaxHighlighter(const std::string& folder, const std::string& userFolder)
        : FHighlighter(folder, userFolder) {}
    ~TSyntaxHighlighter() override { FJob.reset(); }
    void SetLang(const std::string& name) override {
        FJob.reset();
        FHighlighter.SetLang(name);
    }
    bool Execute(TOVSynStringList& lines) override {
        FJob.reset();
        return FHighlighter.Execute(lines);
    }
    TStyleColors GetStyles(TStyleByte id) const override { return FHighlighter.GetStyles(id); }
    bool ExecuteRows(TOVSynStringList& lines, int firstRow, int lastRow) override {
        return FHighlighter.ExecuteRows(lines, firstRow, lastRow);
    }
    bool StartBackground(const TOVSynStringList& lines, std::shared_ptr<TWorkerGate> gate) override {
        FJob.reset();
        if (FHighlighter.LangName().empty())
            return false;
        try {
            FJob = std::make_unique<TBackgroundJob>(FHighlighter, lines, std::move(gate));
        } catch (...) {
            return false;
        }
        return true;
    }
    bool BackgroundDone() const override { return !FJob || FJob->Done(); }
    bool DeliverBackground(std::vector<int>& checkpoints) override {
        const bool delivered = FJob && FJob->Deliver(FHighlighter, checkpoints);
        FJob.reset();
        return delivered;
    }
    void CancelBackground() override { FJob.reset(); }

private:
    TOVSynHighlighter FHighlighter;
    std::unique_ptr<TBackgroundJob> FJob;
};

} // namespace

std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder,
                                                            const std::string& userFolder) {
    return std::make_unique<TSyntaxHighlighter>(folder, userFolder);
}

} // namespace ov
