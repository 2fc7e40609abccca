#include "Snapshot.h"

#include "Main.h"
#include "Uiservices.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace ov {

namespace {

// A window that is never painted (no expose from the platform) is rendered
// anyway after this long.
constexpr int PaintTimeoutMs = 5000;

// Queues the capture once the window has painted for the first time; the
// capture itself runs after the paint has finished.
class TFirstPaintWatcher : public QObject {
public:
    explicit TFirstPaintWatcher(std::function<void()> capture) : FCapture(std::move(capture)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Fire();
        return QObject::eventFilter(watched, event);
    }

    void Fire() {
        if (FFired)
            return;
        FFired = true;
        QTimer::singleShot(0, this, FCapture);
    }

private:
    std::function<void()> FCapture;
    bool FFired = false;
};

} // namespace

int RunSnapshot(TMainForm& form, const std::string& pngFile) {
    form.SetWriteSettingsOnClose(false);
    // Nobody is there to answer a snapshot run: a modal box would stop it
    // for good. The caller installs these before the window is built; here
    // they cover a caller that did not.
    TConsoleUIServices services;
    TUIServicesGuard installServices(&services);
    auto capture = [&form, pngFile] {
        QPixmap picture = form.grab();
        if (!picture.save(QString::fromStdString(pngFile), "PNG")) {
            std::fprintf(stderr, "orvane: cannot write %s\n", pngFile.c_str());
            QCoreApplication::exit(1);
            return;
        }
        QCoreApplication::exit(0);
    };
    TFirstPaintWatcher watcher(capture);
    form.installEventFilter(&watcher);
    QTimer::singleShot(PaintTimeoutMs, &watcher, [&watcher] { watcher.Fire(); });
    form.show();
    int status = QCoreApplication::exec();
    form.removeEventFilter(&watcher);
    return status;
}

} // namespace ov
