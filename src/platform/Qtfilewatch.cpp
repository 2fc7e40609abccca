#include "Qtfilewatch.h"

#include "Files.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace ov {

TFileWatcher::TFileWatcher(std::function<void()> onChange, QObject* parent)
    : QObject(parent), FOnChange(std::move(onChange)), FWatcher(new QFileSystemWatcher(this)),
      FSettle(new QTimer(this)), FPoll(new QTimer(this)) {
    FSettle->setSingleShot(true);
    FSettle->setInterval(SettleMilliseconds);
    connect(FSettle, &QTimer::timeout, this, [this] {
        Arm();
        if (FOnChange)
            FOnChange();
    });
    connect(FPoll, &QTimer::timeout, this, [this] { Poll(); });
    connect(FWatcher, &QFileSystemWatcher::fileChanged, this, [this] { Notified(); });
    connect(FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { Notified(); });
}

TFileWatcher::~TFileWatcher() = default;

void TFileWatcher::Watch(const std::string& path) {
    if (!FWatcher->files().isEmpty())
        FWatcher->removePaths(FWatcher->files());
    if (!FWatcher->directories().isEmpty())
        FWatcher->removePaths(FWatcher->directories());
    FSettle->stop();
    FPoll->stop();
    FPath = path;
    if (FPath.empty())
        return;
    Arm();
    FPoll->start();
}

bool TFileWatcher::Polling() const {
    return FPoll->isActive() && FPoll->interval() == FastPollMilliseconds;
}

// The file's watch ends when the file goes (deleted or renamed away), and a
// watch may be refused (the system's limit of watches): each look arms what
// is missing, and the poll's pace follows what the notification covers.
void TFileWatcher::Arm() {
    if (FPath.empty())
        return;
    const QString file = QString::fromStdString(FPath);
    const QString folder = QFileInfo(file).absolutePath();
    bool watched = FWatcher->files().contains(file) || FWatcher->addPath(file);
    if (!FWatcher->directories().contains(folder))
        FWatcher->addPath(folder);
    watched = watched && ChangesAreNotified(FPath);
    FPoll->setInterval(watched ? SlowPollMilliseconds : FastPollMilliseconds);
}

void TFileWatcher::Notified() {
    if (!FSettle->isActive())
        FSettle->start();
}

void TFileWatcher::Poll() {
    Arm();
    if (FOnChange)
        FOnChange();
}

} // namespace ov
