#include "Qtinput.h"

#include <QAbstractSlider>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace ov {

TScrollCode ScrollCodeOfSliderAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return TScrollCode::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
        return TScrollCode::LineForward;
    case QAbstractSlider::SliderPageStepSub:
        return TScrollCode::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
        return TScrollCode::PageForward;
    case QAbstractSlider::SliderMove:
        return TScrollCode::Track;
    default:
        return TScrollCode::Other;
    }
}

std::vector<std::string> DroppedLocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return files;
}

void AcceptFileDrag(QDropEvent* event) {
    if (!DroppedLocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void TakeFileDrop(QDropEvent* event, const TDroppedFilesEvent& onFiles) {
    const std::vector<std::string> files = DroppedLocalFiles(event->mimeData());
    if (files.empty())
        return;
    event->acceptProposedAction();
    if (onFiles)
        onFiles(files);
}

} // namespace ov
