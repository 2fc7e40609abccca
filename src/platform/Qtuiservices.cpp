#include "Qtuiservices.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <utility>
#include <vector>

namespace ov {

namespace {

QMessageBox::Icon ToQtIcon(TMessageIcon icon) {
    switch (icon) {
    case TMessageIcon::Information: return QMessageBox::Information;
    case TMessageIcon::Warning: return QMessageBox::Warning;
    case TMessageIcon::Error: return QMessageBox::Critical;
    case TMessageIcon::Question: return QMessageBox::Question;
    case TMessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

// Runs a message box with the ordinary arrow: a wait cursor shown around the
// question (a large file is asked about while it is being opened) would
// otherwise stand over the box's buttons too.
int RunBox(QMessageBox& box) {
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    int result = box.exec();
    QGuiApplication::restoreOverrideCursor();
    return result;
}

} // namespace

bool TQtUIServices::AskYesNo(const std::string& text, const std::string& caption,
                             TMessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, DialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    return RunBox(box) == QMessageBox::Yes;
}

void TQtUIServices::ShowMessage(const std::string& text, const std::string& caption,
                                TMessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, DialogParent());
    RunBox(box);
}

void TQtUIServices::BeginWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

void TQtUIServices::EndWaitCursor() { QGuiApplication::restoreOverrideCursor(); }

namespace {

// The guard's state: a message handler is a plain function. Threads the
// toolkit starts while it connects may report too, hence the lock.
struct TDisplayConnectState {
    std::mutex Lock;
    QtMessageHandler Previous = nullptr;
    std::string Line;
    std::vector<std::pair<QtMsgType, QString>> Held;
};

TDisplayConnectState& DisplayConnectState() {
    static TDisplayConnectState state;
    return state;
}

void HoldOrEnd(QtMsgType type, const QMessageLogContext&, const QString& text) {
    TDisplayConnectState& state = DisplayConnectState();
    const std::lock_guard hold(state.Lock);
    if (type != QtFatalMsg) {
        state.Held.emplace_back(type, text);
        return;
    }
    std::fputs(state.Line.c_str(), stderr);
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace

TDisplayConnectGuard::TDisplayConnectGuard(std::string hint) {
    TDisplayConnectState& state = DisplayConnectState();
    state.Line = "orvane: no display could be opened" + hint + "\n";
    state.Held.clear();
    state.Previous = qInstallMessageHandler(HoldOrEnd);
}

TDisplayConnectGuard::~TDisplayConnectGuard() { Release(); }

void TDisplayConnectGuard::Release() {
    if (!FActive)
        return;
    FActive = false;
    TDisplayConnectState& state = DisplayConnectState();
    qInstallMessageHandler(state.Previous);
    std::vector<std::pair<QtMsgType, QString>> held;
    {
        const std::lock_guard hold(state.Lock);
        held = std::exchange(state.Held, {});
    }
    const QMessageLogContext noContext;
    for (const auto& [type, text] : held) {
        if (state.Previous)
            state.Previous(type, noContext, text);
        else
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}

TOVApplication::TOVApplication(int& argc, char** argv, std::string noDisplayHint)
    : TDisplayConnectGuard(std::move(noDisplayHint)), QApplication(argc, argv) {
    Release();
}

bool TOVApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error.what());
    } catch (...) {
        ShowException("Unknown error");
    }
    return false;
}

void TOVApplication::ShowException(const std::string& message) {
    std::fprintf(stderr, "orvane: %s\n", message.c_str());
    if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
        !UIServices().Interactive())
        return; // nobody could answer a modal box
    UIServices().ShowMessage(message, QApplication::applicationDisplayName().toStdString(),
                             TMessageIcon::Error);
}

void InstallFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("굴림"), QStringLiteral("NanumGothic"));
    QFont::insertSubstitution(QStringLiteral("Gulim"), QStringLiteral("NanumGothic"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

bool InstallKoreanTranslation() {
    // Dates and file-type names in the stock file dialog follow the default
    // locale, which the program's Korean interface fixes whatever LANG says.
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace ov
