#include "Ovsyntextviewer.h"

#include "Appfolders.h"
#include "Files.h"
#include "Markedscrollbar.h"
#include "Ovsynhighlighter.h"
#include "Putbmpfont.h"

#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace ov {

TOVSynTextViewer::TOVSynTextViewer(QWidget* parent, std::unique_ptr<TViewerHighlighter> highlighter)
    : QAbstractScrollArea(parent), FLines(std::make_unique<TOVSynStringList>()),
      FHighlighter(highlighter ? std::move(highlighter)
                               : CreateSyntaxHighlighter(ShippedSyntaxFolder(), UserSyntaxFolder())),
      FMarker(*FLines, *FHighlighter) {
    resize(350, 350);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    FMarkedBar = new TMarkedScrollBar(this);
    setVerticalScrollBar(FMarkedBar);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    FJob.OnChange = [this] {
        if (OnJobChange)
            OnJobChange(this);
    };
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &TOVSynTextViewer::OnVertAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            &TOVSynTextViewer::OnHorzAction);

    // The font files are read at the first drawn row or when the settings
    // name them, so a damaged file is reported once, by whoever set it.
    FTextDrawer.SetFont(font());
    ResetWidths();
    // The line height is known from the start, so that the row pitch never
    // depends on which setter ran first.
    SetLineHeight();
    FLines->OnChange = [this](TOVStringList*) { LinesChange(); };
    FLines->OnAppend = [this](TOVStringList*) { LinesAppended(); };
    UpdateScrollBar(sbBoth);
}

TOVSynTextViewer::~TOVSynTextViewer() {
    FLines->OnChange = nullptr;
    FLines->OnAppend = nullptr;
    ClearWrapedLines();
}

void TOVSynTextViewer::SetLines(const TOVStringList& source) {
    FLines->Assign(source);
}

// --- properties -----------------------------------------------------------

void TOVSynTextViewer::SetWordWrap(bool value) {
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    ClearWrapedLines();
    InvalidateStyleRecord();
    MeasureWidest();
    FRowCount = FLines->Count();
    UpdateScrollBar(sbBoth);
    if (FTopIndex > MaxTopIndex(FRowCount, FVisibleRows))
        FTopIndex = MaxTopIndex(FRowCount, FVisibleRows);
    SetScrollPos(FTopIndex, sbVertical);
    DrawScreen(true);
    NotifyRowCount();
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::SetUseBitmapFont(bool value) {
    if (FUseBitmapFont == value)
        return;
    FUseBitmapFont = value;
    FontMetricsChanged();
}

void TOVSynTextViewer::SetEnableHighlighting(bool value) {
    if (FEnableHighlighting == value)
        return;
    FEnableHighlighting = value;
    UpdateHighlightState(true);
    DrawScreen(true);
}

void TOVSynTextViewer::SetSynLang(const std::string& value) {
    if (FSynLang == value)
        return;
    FSynLang = value;
    try {
        FHighlighter->SetLang(value);
    } catch (...) {
        // A bad style file still leaves the language loaded: show the text
        // with it, then let the caller report the error.
        UpdateHighlightState(!FLines->GetUpdating());
        DrawScreen(true);
        throw;
    }
    UpdateHighlightState(!FLines->GetUpdating());
    DrawScreen(true);
}

void TOVSynTextViewer::UpdateHighlightState(bool execute) {
    if (!FEnableHighlighting || FSynLang.empty()) {
        StopBackgroundHighlighting();
        FHighlightActive = false;
        FColor = FBackColor;
        return;
    }
    FHighlightActive = true;
    FColor = FHighlighter->GetStyles(0).Back;
    if (execute)
        ExecuteHighlighter();
}

bool TOVSynTextViewer::WholeDocumentIsLong() {
    if (FLines->Loading() && !FLines->Mapped())
        FinishLoading();
    return FLines->Loading() || FLines->MappedBytes() >= FLoadPolicy.BackgroundCommandBytes;
}

void TOVSynTextViewer::SetLoadPolicy(const TLoadPolicy& policy) {
    FLoadPolicy = policy;
    FLines->SetLoadPolicy(policy);
}

void TOVSynTextViewer::StopBackgroundHighlighting() {
    FMarker.Cancel();
    if (FHighlightTimer)
        FHighlightTimer->stop();
}

void TOVSynTextViewer::OnHighlightTimer() {
    // Starts the worker once the index is whole, takes its checkpoints, and
    // paints again what was painted from a guess once it can be exact.
    if (FMarker.Poll()) {
        InvalidateStyleRecord();
        DrawScreen(true);
    }
    if (FMarker.State() != TMarkerState::Scanning)
        FHighlightTimer->stop();
}

void TOVSynTextViewer::FinishHighlighting() {
    if (FMarker.State() != TMarkerState::Scanning)
        return;
    FinishLoading();
    if (FHighlightTimer)
        FHighlightTimer->stop();
    FMarker.WaitForWorker();
    InvalidateStyleRecord();
    DrawScreen(true);
}

void TOVSynTextViewer::ExecuteHighlighter() {
    // A document marked at once is marked whole; one marked in the
    // background is shown while its index is still made.
    if (!FMarker.MarksInBackground(FLoadPolicy))
        FinishLoading();
    InvalidateStyleRecord();
    StopBackgroundHighlighting();
    if (FMarker.Start(FLoadPolicy) == TMarkerState::Scanning)
        StartHighlightTimer();
}

void TOVSynTextViewer::StartHighlightTimer() {
    if (!FHighlightTimer) {
        FHighlightTimer = std::make_unique<QTimer>();
        FHighlightTimer->setInterval(HighlightPollInterval);
        connect(FHighlightTimer.get(), &QTimer::timeout, this, &TOVSynTextViewer::OnHighlightTimer);
    }
    FHighlightTimer->start();
}

bool TOVSynTextViewer::GrowText() {
    // The highlighting worker reads the text: it stops, keeping what it
    // made, and the text may grow.
    if (FHighlightActive)
        FMarker.Suspend();
    const int from = std::max(FLines->Count() - 1, 0);
    // So does the count of matches, which goes on from the first line that
    // changes once the text has grown (MatchesGrown).
    HoldMatchCount(from);
    const bool grown = FLines->GrowMappedText();
    if (FMatchCountHeld >= 0) {
        // Nothing changed that the count had seen: it goes on where it was.
        const int held = std::exchange(FMatchCountHeld, -1);
        StartMatchCount(held);
    }
    if (grown && FHighlightActive) {
        // Marks made at once need every line.
        if (!FMarker.MarksInBackground(FLoadPolicy))
            FinishLoading();
        FMarker.Grown(from, FLoadPolicy);
        InvalidateStyleRecord();
        DrawScreen(true);
    }
    if (FMarker.State() == TMarkerState::Scanning)
        StartHighlightTimer(); // which starts the worker again
    return grown;
}

void TOVSynTextViewer::SetTabWidth(uint16_t value) {
    if (FTabWidth == value)
        return;
    FTabWidth = value;
    ResetWidths();
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    MeasureWidest();
    UpdateScrollBar(sbHorizontal);
    DrawScreen(true);
}

void TOVSynTextViewer::SetShowLineNum(bool value) {
    if (FShowLineNum == value)
        return;
    FShowLineNum = value;
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    UpdateScrollBar(sbHorizontal);
    DrawScreen(true);
}

void TOVSynTextViewer::SetLeftMargin(uint16_t value) {
    if (FLeftMargin == value)
        return;
    FLeftMargin = value;
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    UpdateScrollBar(sbHorizontal);
    DrawScreen(true);
}

void TOVSynTextViewer::SetTopMargin(uint16_t value) {
    if (FTopMargin == value)
        return;
    FTopMargin = value;
    UpdateVisibleRows();
    UpdateScrollBar(sbVertical);
    DrawScreen(true);
}

void TOVSynTextViewer::SetLineSpace(uint16_t value) {
    if (FLineSpace == value)
        return;
    FLineSpace = value;
    UpdateVisibleRows();
    UpdateScrollBar(sbVertical);
    DrawScreen(true);
}

void TOVSynTextViewer::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    setFrameStyle(value == TBorderStyle::Single ? QFrame::StyledPanel | QFrame::Sunken
                                                : QFrame::NoFrame);
}

void TOVSynTextViewer::SetColor(TColor value) {
    if (FColor == value)
        return;
    FColor = value;
    DrawScreen(true);
}

void TOVSynTextViewer::SetBackColor(TColor value) {
    if (FBackColor == value)
        return;
    FBackColor = value;
    if (!FHighlightActive) {
        FColor = value;
        DrawScreen(true);
    }
}

void TOVSynTextViewer::SetForeColor(TColor value) {
    if (FForeColor == value)
        return;
    FForeColor = value;
    if (!FHighlightActive)
        DrawScreen(true);
}

void TOVSynTextViewer::SetLineNumColor(TColor value) {
    if (FLineNumColor == value)
        return;
    FLineNumColor = value;
    DrawScreen(true);
}

void TOVSynTextViewer::SetLineNumBackColor(TColor value) {
    if (FLineNumBackColor == value)
        return;
    FLineNumBackColor = value;
    DrawScreen(true);
}

void TOVSynTextViewer::SetFontFiles(const TFontFiles& files) {
    if (FFontsLoaded && files == FontFiles())
        return;
    FHanFont = files.Han;
    FEngFont = files.Eng;
    FKSGFont = files.KSG;
    FSPCFont = files.SPC;
    LoadBitmapFonts();
    if (FUseBitmapFont)
        DrawScreen(true);
}

void TOVSynTextViewer::SetHanFont(const std::string& value) {
    TFontFiles files = FontFiles();
    files.Han = value;
    SetFontFiles(files);
}

void TOVSynTextViewer::SetEngFont(const std::string& value) {
    TFontFiles files = FontFiles();
    files.Eng = value;
    SetFontFiles(files);
}

void TOVSynTextViewer::SetKSGFont(const std::string& value) {
    TFontFiles files = FontFiles();
    files.KSG = value;
    SetFontFiles(files);
}

void TOVSynTextViewer::SetSPCFont(const std::string& value) {
    TFontFiles files = FontFiles();
    files.SPC = value;
    SetFontFiles(files);
}

void TOVSynTextViewer::LoadBitmapFonts() {
    FFontsLoaded = true;
    LoadFonts(RuntimePath("Fonts") + "/", FHanFont, FEngFont, FKSGFont, FSPCFont, "hanja.fnt");
}

} // namespace ov
