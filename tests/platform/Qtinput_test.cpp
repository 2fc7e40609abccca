#include "Qtinput.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace ov {
namespace {

// The drop both views take: a drag is accepted only when it carries local
// files, and a drop hands over those files alone, in the order it lists
// them, once; a drop of none calls nothing and is left to the widget.
TEST(FileDrop, OnlyLocalFilesAreTakenInTheirOrder) {
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/a.c")});
    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile("/tmp/b.c"), QUrl("https://example.org/a.c"),
                   QUrl::fromLocalFile("/tmp/\xED\x95\x9C a.txt")});
    int calls = 0;
    std::vector<std::string> taken;
    const TDroppedFilesEvent onFiles = [&](const std::vector<std::string>& files) {
        taken = files;
        ++calls;
    };
    for (QMimeData* data : {&remote, &mixed}) {
        const bool local = data == &mixed;
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(6, 6), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        for (QDropEvent* event :
             {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move)}) {
            event->ignore();
            AcceptFileDrag(event);
            EXPECT_EQ(event->isAccepted(), local);
        }
        drop.ignore();
        TakeFileDrop(&drop, onFiles);
        EXPECT_EQ(drop.isAccepted(), local);
        EXPECT_EQ(calls, local ? 1 : 0);
    }
    EXPECT_EQ(taken, (std::vector<std::string>{"/tmp/b.c", "/tmp/\xED\x95\x9C a.txt"}));
}

} // namespace
} // namespace ov
