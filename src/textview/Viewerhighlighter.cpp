#include "Viewerhighlighter.h"

#include "Ovsynhighlighter.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace ov {

namespace {

// Marks a view of the document's text on a worker thread, with a
// highlighter of its own, so that the viewer's highlighter and document are
// never touched by two threads.
class TBackgroundJob {
public:
    TBackgroundJob(const TOVSynHighlighter& model, const TOVSynStringList& lines)
        : FHighlighter(model.Folder(), model.UserFolder()) {
        FHighlighter.SetLang(model.LangName()); // may throw: no job then
        FHighlighter.SetCancelFlag(&FCancel);
        if (!FLines.ShareTextOf(lines))
            throw std::logic_error("not a mapped document");
        FThread = std::thread([this] {
            try {
                FMarked = FHighlighter.ExecuteAway(FLines) && !FCancel.load();
            } catch (...) {
                FMarked = false;
            }
            FDone.store(true, std::memory_order_release);
        });
    }
    ~TBackgroundJob() {
        FCancel.store(true);
        FThread.join();
    }
    TBackgroundJob(const TBackgroundJob&) = delete;
    TBackgroundJob& operator=(const TBackgroundJob&) = delete;

    bool Done() const { return FDone.load(std::memory_order_acquire); }
    // After Done: the marks go to lines, and the languages the worker's scan
    // added (pages with script or style sections) to highlighter, in the
    // same slots, so that the ids of the marks name the same styles.
    bool Deliver(TOVSynHighlighter& highlighter, TOVSynStringList& lines) {
        if (!Done() || !FMarked || FLines.Count() != lines.Count())
            return false;
        const std::vector<std::string>& languages = FHighlighter.Languages();
        for (std::size_t slot = highlighter.Languages().size(); slot < languages.size(); ++slot)
            highlighter.AddLang(languages[slot]);
        // Slots the viewer's highlighter kept from an earlier document may
        // follow; the worker's must be the same as far as they go.
        const std::vector<std::string>& held = highlighter.Languages();
        if (held.size() < languages.size() || !std::equal(languages.begin(), languages.end(), held.begin()))
            return false;
        lines.TakeStylesOf(FLines);
        return true;
    }

private:
    TOVSynHighlighter FHighlighter;
    TOVSynStringList FLines;
    std::atomic<bool> FCancel{false};
    std::atomic<bool> FDone{false};
    bool FMarked = false; // read after FDone
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
    bool ExecuteRows(TOVSynStringList& lines, int lastRow) override {
        return FHighlighter.ExecuteRows(lines, lastRow);
    }
    bool StartBackground(const TOVSynStringList& lines) override {
        FJob.reset();
        if (FHighlighter.LangName().empty())
            return false;
        try {
            FJob = std::make_unique<TBackgroundJob>(FHighlighter, lines);
        } catch (...) {
            return false;
        }
        return true;
    }
    bool BackgroundDone() const override { return !FJob || FJob->Done(); }
    bool DeliverBackground(TOVSynStringList& lines) override {
        const bool delivered = FJob && FJob->Deliver(FHighlighter, lines);
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
