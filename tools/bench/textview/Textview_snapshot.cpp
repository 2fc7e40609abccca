// Renders a file in the text view into a PNG, the way the view shows it:
// textview_snapshot OUT.png FILE [--lang NAME] [--wrap] [--outline] [--nolinenum]
//                   [--size WIDTHxHEIGHT] [--top ROW] [--select C1,L1,C2,L2]
// Fonts and syntax files are taken from the folder of the executable, as the
// program does, or from the program's folder build/bin beside it.

#include "Files.h"
#include "Ovsyntextviewer.h"
#include "Qtuiservices.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication app(argc, argv);
    ov::InstallFontSubstitutions();
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.png FILE [options]\n", argv[0]);
        return 2;
    }
    // Built beside the benchmarks: the runtime files lie in the program's folder.
    const std::string programFolder = ov::ExeFolder() + "../bin/";
    if (!ov::FolderExists(ov::ExeFolder() + "Fonts") && ov::FolderExists(programFolder + "Fonts"))
        ov::SetExeFolderOverride(programFolder);
    ov::TOVSynTextViewer viewer;
    std::string lang;
    int width = 800, height = 600, top = 0;
    bool wrap = false, outline = false, lineNumbers = true;
    ov::TTextPoint selStart, selEnd;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--lang" && i + 1 < argc)
            lang = argv[++i];
        else if (option == "--wrap")
            wrap = true;
        else if (option == "--outline")
            outline = true;
        else if (option == "--nolinenum")
            lineNumbers = false;
        else if (option == "--size" && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &width, &height);
        else if (option == "--top" && i + 1 < argc)
            top = std::atoi(argv[++i]);
        else if (option == "--select" && i + 1 < argc)
            std::sscanf(argv[++i], "%d,%d,%d,%d", &selStart.X, &selStart.Y, &selEnd.X, &selEnd.Y);
    }
    QFont font("Tahoma");
    font.setPixelSize(12);
    viewer.setFont(font);
    viewer.resize(width, height);
    viewer.show();
    QApplication::processEvents();
    viewer.SetShowLineNum(lineNumbers);
    viewer.SetUseBitmapFont(!outline);
    viewer.SetWordWrap(wrap);
    viewer.Lines().BeginUpdate();
    viewer.Lines().LoadFromFile(argv[2]);
    viewer.SetSynLang(lang);
    viewer.Lines().EndUpdate();
    viewer.SetTopIndex(top);
    if (selStart.Y >= 0) {
        viewer.SetSelStart(selStart);
        viewer.SetSelEnd(selEnd);
    }
    QApplication::processEvents();
    return viewer.grab().save(argv[1]) ? 0 : 1;
}
