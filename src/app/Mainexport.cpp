// Save as HTML from the menu: the save dialog, then the page of the open
// document, the same page the command-line export writes for the file.

#include "Main.h"

#include "Appfolders.h"
#include "Codepage.h"
#include "Files.h"
#include "Htmlpage.h"
#include "Messages.h"
#include "Ovsynhighlighter.h"
#include "Uiservices.h"

#include <exception>
#include <memory>
#include <optional>

namespace ov {

namespace {

constexpr const char* SaveHtmlTitle = "HTML로 저장";

// Why a write failed, as a sentence for the user, where the write result
// can say it; empty otherwise.
template <typename TResult> std::string FailureReason(const TResult& result) {
    if constexpr (requires { result.Reason(); })
        return result.Reason();
    else
        return {};
}

} // namespace

// The first page is proposed beside the document under its full name plus
// ".htm" (a.cpp -> a.cpp.htm); later ones in the folder of the last page.
std::string TMainForm::ProposedHtmlName() const {
    if (FLastHtmlName.empty())
        return FDocument.FileName() + ".htm";
    return ExtractFilePath(FLastHtmlName) + ExtractFileName(FDocument.FileName()) + ".htm";
}

void TMainForm::SaveasHTML1Click() {
    if (FControls.Viewer->SynLang().empty() || FControls.Viewer->Lines().Count() == 0) {
        UIServices().ShowMessage(LoadStr(SHtmlNeedsHighlighting), ProgramTitle,
                                 TMessageIcon::None);
        return;
    }
    std::optional<std::string> path =
        FSaveHtmlDialog ? FSaveHtmlDialog(ProposedHtmlName()) : std::nullopt;
    if (!path)
        return;
    FLastHtmlName = *path;
    SaveAsHtml(*path);
}

// The page is built with a highlighter of its own on the language's files, as
// the command-line export builds it, so both write the same bytes: the class
// list names the embedded languages a run over the document loads. While the
// view shows its highlighting that run gives the document the marks it
// already has; otherwise it marks a copy, and the view's document stays as
// it is shown.
//
// The program never writes the file it shows: a path that names it (itself,
// a hard link or a symbolic link to it) is refused before anything is
// written.
bool TMainForm::SaveAsHtml(const std::string& path) {
    if (FControls.Viewer->SynLang().empty() || FControls.Viewer->Lines().Count() == 0)
        return false;
    if (SameFile(path, FDocument.FileName())) {
        UIServices().ShowMessage("'" + ExtractFileName(path) +
                                     "' 파일은 보고 있는 파일입니다.\n"
                                     "보고 있는 파일을 HTML 페이지로 덮어쓸 수 없습니다. "
                                     "다른 이름을 고르십시오.",
                                 SaveHtmlTitle, TMessageIcon::Warning);
        return false;
    }
    if (FControls.Viewer->WholeDocumentIsLong()) {
        SaveAsHtmlInBackground(path);
        return false;
    }
    TWaitCursor wait;
    std::string failure;
    try {
        TOVSynHighlighter highlighter(ShippedSyntaxFolder(), UserSyntaxFolder());
        highlighter.SetLang(FControls.Viewer->SynLang());
        TOVSynStringList* lines = &FControls.Viewer->Lines();
        TOVSynStringList copy;
        const std::string title =
            lines->CharCoding().FromUtf8(ExtractFileName(FDocument.FileName()));
        TWriteResult written;
        if (FControls.Viewer->Lines().Mapped()) {
            // A second view of the mapped text, marked and written row by
            // row: neither the text nor the marks of the whole file are held,
            // and the view's own marks stay as they are.
            copy.ShareMappedText(FControls.Viewer->Lines());
            written = WriteFileAtomically(path, [&](const TPieceWriter& write) {
                return MarkAndWriteHtmlPage(copy, highlighter, title, write);
            });
        } else {
            if (!FControls.Viewer->HighlightActive()) {
                copy.SetCoding(FControls.Viewer->Lines().Coding());
                copy.AddStrings(FControls.Viewer->Lines());
                lines = &copy;
            }
            highlighter.Execute(*lines);
            written = ov::SaveAsHtml(path, *lines, highlighter, title);
        }
        if (written)
            return true;
        failure = FailureReason(written);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    ShowSaveHtmlFailure(path, failure);
    return false;
}

// A long document's page is written as the view's job, over a second view
// of the mapped text once every line is indexed; Escape abandons the write
// and leaves no file.
void TMainForm::SaveAsHtmlInBackground(const std::string& path) {
    TOVSynTextViewer& view = *FControls.Viewer;
    view.Job().Await([&view] { return !view.Loading(); }, [&view] { return view.LoadProgress(); },
                     [this, &view, path] {
        auto copy = std::make_shared<TOVSynStringList>();
        auto highlighter =
            std::make_shared<TOVSynHighlighter>(ShippedSyntaxFolder(), UserSyntaxFolder());
        auto failure = std::make_shared<std::optional<std::string>>();
        try {
            highlighter->SetLang(view.SynLang());
        } catch (const std::exception& error) {
            ShowSaveHtmlFailure(path, error.what());
            return;
        }
        if (!copy->ShareMappedText(view.Lines()))
            return;
        const std::string title =
            copy->CharCoding().FromUtf8(ExtractFileName(FDocument.FileName()));
        view.Job().Run(
            [copy, highlighter, title, path, failure](TJobControl& control) {
                highlighter->SetCancelFlag(&control.CancelFlag());
                const TWriteResult written =
                    WriteFileAtomically(path, [&](const TPieceWriter& write) {
                        return MarkAndWriteHtmlPage(*copy, *highlighter, title,
                                                    [&](std::string_view piece) {
                            return !control.Cancelled() && write(piece);
                        });
                    });
                if (!written && !control.Cancelled())
                    *failure = FailureReason(written);
            },
            [this, path, failure] {
                if (*failure)
                    ShowSaveHtmlFailure(path, **failure);
            });
    });
}

void TMainForm::ShowSaveHtmlFailure(const std::string& path, const std::string& failure) {
    std::string message = "'" + ExtractFileName(path) + "' 파일을 HTML로 저장하지 못했습니다.";
    if (!failure.empty())
        message += "\n" + failure;
    UIServices().ShowMessage(message, SaveHtmlTitle, TMessageIcon::Error);
}

} // namespace ov
