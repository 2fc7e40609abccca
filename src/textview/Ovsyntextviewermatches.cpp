// Every match of the current search in TOVSynTextViewer: the runs of the
// lines painted (found here, on the window's thread, for those lines only),
// the count of the whole document and the ticks along the scroll bar (made
// by the counter's worker and looked at on a timer).

#include "Markedscrollbar.h"
#include "Ovsyntextviewer.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace ov {

namespace {

// The runs of this many lines are kept between paints; more are dropped
// at the next paint (a screen needs a few dozen).
constexpr std::size_t KeptMatchLines = 1024;
constexpr int MatchPollInterval = 100;

} // namespace

void TOVSynTextViewer::SetMatchHighlight(TMatcherMaker make) {
    FMatchMaker = std::move(make);
    RestartMatches();
    DrawScreen(true);
}

void TOVSynTextViewer::ClearMatchHighlight() {
    if (!FMatchMaker && !FRowMatcher)
        return;
    SetMatchHighlight(nullptr);
}

void TOVSynTextViewer::SetMatchColor(TColor value) {
    if (FMatchColor == value)
        return;
    FMatchColor = value;
    UpdateMatchTicks();
    DrawScreen(true);
}

TOVSynTextViewer::TMatchCount TOVSynTextViewer::MatchCount() const {
    if (!FRowMatcher)
        return {};
    return {FMatchCounter.Count(), !FMatchCountPending && FMatchCounter.Complete()};
}

TMarkedScrollBar& TOVSynTextViewer::MarkedScrollBar() const {
    return *FMarkedBar;
}

const std::vector<TMatchRun>& TOVSynTextViewer::MatchRunsOf(int line) {
    static const std::vector<TMatchRun> none;
    if (!FRowMatcher || line < 0 || line >= FLines->Count())
        return none;
    auto found = FMatchRuns.find(line);
    if (found != FMatchRuns.end())
        return found->second;
    std::string shown;
    return FMatchRuns.emplace(line, LineMatchRuns(*FRowMatcher, FLines->ShownView(line, shown)))
        .first->second;
}

void TOVSynTextViewer::ForgetShownMatches() {
    if (FMatchRuns.size() > KeptMatchLines)
        FMatchRuns.clear();
}

// A new search, another document or the same one read again: the rows'
// matcher is made for the document's coding and the count starts over.
void TOVSynTextViewer::RestartMatches() {
    FMatchRuns.clear();
    FRowMatcher = FMatchMaker ? FMatchMaker(Coding()) : nullptr;
    StartMatchCount();
}

// A long document is counted by a worker that starts once the view's job (a
// Find on its own worker) is done, so that the count never holds it up.
void TOVSynTextViewer::StartMatchCount(int fromLine) {
    if (fromLine <= 0)
        FMatchCounter.Cancel();
    FMatchCountPending = false;
    FMatchCountFrom = 0;
    if (FRowMatcher && FLines->Count() > 0) {
        if (FLines->Mapped() && WholeDocumentIsLong()) {
            FMatchCountPending = true;
            FMatchCountFrom = std::max(fromLine, 0);
            if (!FMatchTimer) {
                FMatchTimer = std::make_unique<QTimer>();
                FMatchTimer->setInterval(MatchPollInterval);
                QObject::connect(FMatchTimer.get(), &QTimer::timeout, this,
                                 [this] { OnMatchTimer(); });
            }
            FMatchTimer->start();
        } else {
            FMatchCounter.CountNow(*FLines, *FRowMatcher);
        }
    } else if (FMatchTimer) {
        FMatchTimer->stop();
    }
    FShownMatchCount = MatchCount();
    UpdateMatchTicks();
    if (OnMatchCountChange)
        OnMatchCountChange(this);
    if (FMatchCountPending)
        OnMatchTimer();
}

void TOVSynTextViewer::HoldMatchCount(int line) {
    if (!FRowMatcher)
        return;
    // A count that waits holds nothing of the text; it starts no later.
    FMatchCountHeld = FMatchCountPending ? std::min(FMatchCountFrom, line) : FMatchCounter.Hold(line);
}

// A followed file grew: the runs of its changed lines go, and the count goes
// on from there when it was held (else it starts over).
void TOVSynTextViewer::MatchesGrown(int from) {
    if (!FRowMatcher || from == INT_MAX)
        return;
    std::erase_if(FMatchRuns, [from](const auto& entry) { return entry.first >= from; });
    const int held = std::exchange(FMatchCountHeld, -1);
    StartMatchCount(held >= 0 ? std::min(held, from) : 0);
}

void TOVSynTextViewer::OnMatchTimer() {
    if (FMatchCountPending && !FJob.Running()) {
        std::unique_ptr<TLineMatcher> matcher = FMatchMaker ? FMatchMaker(Coding()) : nullptr;
        FMatchCountPending = false;
        const int from = std::exchange(FMatchCountFrom, 0);
        if (!matcher || FLines->Count() == 0)
            FMatchCounter.Cancel();
        else if (from > 0 && from < FLines->Count())
            FMatchCounter.Resume(FLines->MappedTail(from), from, std::move(matcher));
        else
            FMatchCounter.Start(FLines->MappedTail(0), std::move(matcher));
    }
    const bool changed = FMatchCounter.TakeChange();
    const TMatchCount count = MatchCount();
    if (changed)
        UpdateMatchTicks();
    if (changed || count.Count != FShownMatchCount.Count ||
        count.Complete != FShownMatchCount.Complete) {
        FShownMatchCount = count;
        if (OnMatchCountChange)
            OnMatchCountChange(this);
    }
    if (!FMatchCountPending && !FMatchCounter.Running() && FMatchTimer)
        FMatchTimer->stop();
}

// The ticks are made of the lines indexed so far; lines beyond come in as
// the row count grows.
void TOVSynTextViewer::UpdateMatchTicks() {
    std::vector<int> rows;
    if (FRowMatcher) {
        const int lines = FLines->Count();
        for (int line : FMatchCounter.Ticks().Lines()) {
            if (line >= lines)
                break;
            rows.push_back(FWordWrap ? OriginToWraped({0, line}).Y : line);
        }
    }
    FMarkedBar->SetMarks(std::move(rows), FRowCount, RgbFromColor(FMatchColor));
}

} // namespace ov
