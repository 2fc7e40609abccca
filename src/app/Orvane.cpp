// The program's entry: reads the command line, runs the Qt-free commands
// before any Qt object exists, then starts the application with the main
// window.

#include "Commandline.h"
#include "Exporthtml.h"
#include "Main.h"
#include "Menustyle.h"
#include "Qtuiservices.h"
#include "Snapshot.h"

#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// A snapshot needs no screen: without one it renders offscreen.
void PreferOffscreenWithoutDisplay() {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    ov::TLaunchOptions options = ov::ParseLaunchArguments(arguments);
    switch (options.Mode) {
    case ov::TLaunchMode::Help:
        std::fputs(ov::UsageText().c_str(), stdout);
        return 0;
    case ov::TLaunchMode::Version:
        std::fputs(ov::VersionText().c_str(), stdout);
        return 0;
    case ov::TLaunchMode::Error:
        std::fprintf(stderr, "orvane: %s\n", options.Error.c_str());
        return 2;
    case ov::TLaunchMode::ExportHtml:
        return ov::ExportHtmlCommand(options.ExportArguments, std::cerr);
    case ov::TLaunchMode::Snapshot:
        PreferOffscreenWithoutDisplay();
        break;
    case ov::TLaunchMode::View:
        break;
    }

    // Without a display the run ends with one line saying how to render
    // without one, not with the toolkit's abort.
    ov::TOVApplication application(argc, argv,
                                   options.Mode == ov::TLaunchMode::Snapshot
                                       ? "; QT_QPA_PLATFORM=offscreen renders without one"
                                       : "; to render a file without one: orvane --snapshot "
                                         "OUT.png FILE");
    // Installed before any window exists: building the window may already
    // report (a damaged font file), and a snapshot run must never wait on a box.
    ov::TQtUIServices boxes;
    ov::TConsoleUIServices console;
    ov::TUIServicesGuard installServices(options.Mode == ov::TLaunchMode::Snapshot
                                             ? static_cast<ov::TUIServices*>(&console)
                                             : &boxes);
    ov::InstallFontSubstitutions();
    ov::InstallMenuStyle();
    ov::InstallKoreanTranslation();
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    // The desktop entry and the icon of an installed program; a portable
    // copy has neither and keeps the toolkit's default icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvane"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orvane")));
    QApplication::setApplicationDisplayName(QString::fromUtf8(ov::ProgramTitle));

    ov::TMainForm mainForm(options.CommandLine);
    if (options.Mode == ov::TLaunchMode::Snapshot)
        return ov::RunSnapshot(mainForm, options.SnapshotFile);
    mainForm.show();
    return QApplication::exec();
}
