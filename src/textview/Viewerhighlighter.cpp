#include "Viewerhighlighter.h"

#include "Openstyles.h"
#include "Ovsynhighlighter.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <deque>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace ov {

namespace {

constexpr int CheckpointSpacing = 256;

// The whole scan's start.
bool AtTheTop(const TMarkCheckpoint& checkpoint) {
    return checkpoint.Row == 0 && checkpoint.State.Depth == 0;
}

// Marks lines from the checkpoint from to their end with highlighter, whose
// languages are already those of the scan that made it.
bool MarkOnFrom(TOVSynHighlighter& highlighter, TOVSynStringList& lines, const TMarkCheckpoint& from,
                bool away) {
    if (!AtTheTop(from))
        return highlighter.ExecuteFrom(lines, from.State, from.Row, INT_MAX);
    return away ? highlighter.ExecuteAway(lines) : highlighter.Execute(lines);
}

// Scans a view of the document's text on a worker thread, with a
// highlighter of its own (so that the viewer's highlighter and document are
// never touched by two threads), holding a few rows' marks at a time. About
// every CheckpointSpacing rows it records a checkpoint: what the scan had
// open at the row's start and the styles open there for painting. The
// checkpoints are handed over as they are made, so that rows far into the
// document are marked from one before the worker is done. A job started from
// a later checkpoint (a document that grew) scans from there on.
class TBackgroundJob {
public:
    TBackgroundJob(const TOVSynHighlighter& model, const TOVSynStringList& lines,
                   std::shared_ptr<TWorkerGate> gate, const TMarkCheckpoint& from,
                   const std::vector<std::string>& languages)
        : FHighlighter(model.Folder(), model.UserFolder()), FFrom(from), FGate(std::move(gate)) {
        FHighlighter.SetLang(model.LangName()); // may throw: no job then
        if (FFrom.Languages > 0)
            FHighlighter.UseLanguages(languages, FFrom.Languages);
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
    bool Marked() const { return Done() && FMarked; }
    // The checkpoints made since the last call, and the languages the scan
    // has added so far (pages with script or style sections), which the
    // checkpoints count.
    void Take(std::vector<TMarkCheckpoint>& into, std::vector<std::string>& languages) {
        std::lock_guard<std::mutex> lock(FMutex);
        for (TMarkCheckpoint& checkpoint : FMade)
            into.push_back(std::move(checkpoint));
        FMade.clear();
        if (FLanguages.size() > languages.size())
            languages = FLanguages;
    }

private:
    bool Scan() {
        std::deque<TMarkCheckpoint> reached; // rows reached whose open styles are not final yet
        TStyleByte stack[TOpenStyleRecord::StackSize] = {};
        int depth = static_cast<int>(std::min<std::size_t>(FFrom.OpenStyles.size(), std::size(stack)));
        std::copy_n(FFrom.OpenStyles.begin(), depth, stack);
        int done = FFrom.Row;
        int next = FFrom.Row + CheckpointSpacing; // the start is the marker's own
        const int count = FLines.Count();
        auto final = [&](int end) {
            for (; done < end && done < count; ++done) {
                if (!reached.empty() && reached.front().Row == done) {
                    TMarkCheckpoint& checkpoint = reached.front();
                    checkpoint.OpenStyles.assign(stack, stack + depth);
                    std::lock_guard<std::mutex> lock(FMutex);
                    FMade.push_back(std::move(checkpoint));
                    if (FHighlighter.Languages().size() > FLanguages.size())
                        FLanguages = FHighlighter.Languages();
                    reached.pop_front();
                }
                const TOVSynStringList& rows = FLines;
                TOpenStyleRecord::Replay(rows.RowStyles(done), rows.RowLength(done), stack, depth);
            }
        };
        FLines.StreamMarks(final, FFrom.Row);
        FHighlighter.SetRowHook([&](int row, const TScanState& state, int languages) {
            if (row < next)
                return;
            next = row + CheckpointSpacing;
            reached.push_back({row, state, languages, {}});
        });
        const bool marked = MarkOnFrom(FHighlighter, FLines, FFrom, true);
        if (!FCancel.load())
            final(count); // the rows the scan left final at its end
        FHighlighter.SetRowHook(nullptr);
        FLines.StreamMarks(nullptr);
        return marked;
    }

    TOVSynHighlighter FHighlighter;
    TOVSynStringList FLines;
    const TMarkCheckpoint FFrom;
    std::mutex FMutex; // guards FMade and FLanguages
    std::vector<TMarkCheckpoint> FMade;
    std::vector<std::string> FLanguages;
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
        FJobLanguages = {name};
    }
    bool Execute(TOVSynStringList& lines) override {
        FJob.reset();
        return FHighlighter.Execute(lines);
    }
    TStyleColors GetStyles(TStyleByte id) const override { return FHighlighter.GetStyles(id); }
    bool ExecuteRows(TOVSynStringList& lines, const TMarkCheckpoint& from, int lastRow) override {
        if (from.Languages > 0)
            FHighlighter.UseLanguages(FJobLanguages, from.Languages);
        return FHighlighter.ExecuteFrom(lines, from.State, from.Row, lastRow);
    }
    bool ExecuteOn(TOVSynStringList& lines, std::vector<TMarkCheckpoint>& checkpoints) override {
        FJob.reset();
        if (!FHighlighter.HasLanguage())
            return false;
        if (checkpoints.empty() || AtTheTop(checkpoints.back())) {
            checkpoints.assign(1, TMarkCheckpoint{0, TScanState{}, 1, {}});
            FJobLanguages = {FHighlighter.LangName()};
        }
        const TMarkCheckpoint from = checkpoints.back();
        if (!AtTheTop(from) && from.Languages > 0)
            FHighlighter.UseLanguages(FJobLanguages, from.Languages);
        int next = from.Row + CheckpointSpacing;
        FHighlighter.SetRowHook([&](int row, const TScanState& state, int languages) {
            if (row < next)
                return;
            next = row + CheckpointSpacing;
            checkpoints.push_back({row, state, languages, {}});
        });
        struct TUnhook {
            TOVSynHighlighter& Highlighter;
            ~TUnhook() { Highlighter.SetRowHook(nullptr); }
        } unhook{FHighlighter};
        const bool marked = MarkOnFrom(FHighlighter, lines, from, false);
        if (FHighlighter.Languages().size() > FJobLanguages.size())
            FJobLanguages = FHighlighter.Languages();
        return marked;
    }
    bool CanMarkInBackground() const override { return FHighlighter.HasLanguage(); }
    bool StartBackground(const TOVSynStringList& lines, std::shared_ptr<TWorkerGate> gate,
                         const TMarkCheckpoint& from) override {
        FJob.reset();
        if (FHighlighter.LangName().empty())
            return false;
        if (AtTheTop(from))
            FJobLanguages = {FHighlighter.LangName()};
        try {
            FJob = std::make_unique<TBackgroundJob>(FHighlighter, lines, std::move(gate), from,
                                                    FJobLanguages);
        } catch (...) {
            return false;
        }
        return true;
    }
    bool BackgroundDone() const override { return !FJob || FJob->Done(); }
    void TakeCheckpoints(std::vector<TMarkCheckpoint>& into) override {
        if (FJob)
            FJob->Take(into, FJobLanguages);
    }
    bool FinishBackground(std::vector<TMarkCheckpoint>& into) override {
        if (!FJob || !FJob->Done())
            return false;
        const bool marked = FJob->Marked();
        if (marked)
            FJob->Take(into, FJobLanguages);
        FJob.reset();
        return marked;
    }
    void CancelBackground() override { FJob.reset(); }

private:
    TOVSynHighlighter FHighlighter;
    std::unique_ptr<TBackgroundJob> FJob;
    // The languages of the last job's scan, in its slots; the checkpoints
    // count them.
    std::vector<std::string> FJobLanguages;
};

} // namespace

std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder,
                                                            const std::string& userFolder) {
    return std::make_unique<TSyntaxHighlighter>(folder, userFolder);
}

} // namespace ov
