#pragma once
// TFileWatcher: tells its owner that the file at a path may have changed,
// so that the owner looks (FileStateOf) and decides what changed. It never
// reads the file. The system's change notification (inotify, through
// QFileSystemWatcher) on the file and on its folder brings a change within
// a few milliseconds, a new file under the name (a rotated log) included; a
// poll backs it up, often on file systems whose notification misses the
// writes of other machines (ChangesAreNotified) or when the system refuses
// another watch, seldom elsewhere. A burst of notifications (a writer
// appending thousands of lines a second) gives one call per settle
// interval, so the owner's work does not grow with the writer's speed.
// Calls may come when nothing changed; the owner compares.

#include <QObject>

#include <functional>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace ov {

class TFileWatcher : public QObject {
public:
    explicit TFileWatcher(std::function<void()> onChange, QObject* parent = nullptr);
    ~TFileWatcher() override;

    // Watches path from now on (empty: nothing). The name is watched, not
    // the file it named at the start: a file that goes and comes back under
    // it is watched again.
    void Watch(const std::string& path);
    const std::string& Path() const { return FPath; }
    bool Polling() const;

    // How long a notification waits for the ones that follow it.
    static constexpr int SettleMilliseconds = 40;
    // The poll where notification cannot be trusted, and the backup poll.
    static constexpr int FastPollMilliseconds = 250;
    static constexpr int SlowPollMilliseconds = 2000;

private:
    void Notified();
    void Poll();
    void Arm();

    std::function<void()> FOnChange;
    std::string FPath;
    QFileSystemWatcher* FWatcher = nullptr;
    QTimer* FSettle = nullptr;
    QTimer* FPoll = nullptr;
};

} // namespace ov
