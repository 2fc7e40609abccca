#include "Hexviewertesting.h"

#include <QApplication>
#include <QScrollBar>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace ov::test {

std::string PatternBytes(int64_t size, int seed) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size));
    for (int64_t i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((i * 31 + i / 251 + seed) & 0xFF));
    return bytes;
}

std::unique_ptr<TOVHexViewer> MakeViewer(int width, int height) {
    auto viewer = std::make_unique<TOVHexViewer>();
    viewer->show();
    QSize frame = viewer->size() - viewer->viewport()->size();
    viewer->resize(QSize(width, height) + frame);
    QApplication::processEvents();
    return viewer;
}

int InkInRow(const TOVHexViewer& viewer, int screenRow, int from, int to) {
    const QImage& image = viewer.BackBuffer();
    QRgb background = viewer.Color().rgb();
    int top = viewer.Layout().RowY(screenRow);
    int ink = 0;
    for (int y = top; y < top + viewer.Layout().RowPitch() && y < image.height(); ++y) {
        for (int x = std::max(from, 0); x < to && x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                ++ink;
        }
    }
    return ink;
}

bool SaveSnapshot(TOVHexViewer& viewer, const TTempFolder& folder, const std::string& name) {
    const char* target = std::getenv("ORVANE_HEXVIEW_SNAPSHOTS");
    std::string path = target && *target ? std::string(target) + "/" + name : folder.File(name);
    // The whole control, frame and scroll bars included, beside the picture.
    std::string control = path.substr(0, path.size() - 4) + "-control.png";
    viewer.grab().save(QString::fromStdString(control), "PNG");
    return viewer.BackBuffer().save(QString::fromStdString(path), "PNG");
}

std::string WriteSparseFile(const std::string& path, int64_t size, const std::string& tail) {
    int handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (handle < 0)
        return {};
    bool ok =
        ::ftruncate(handle, size) == 0 &&
        ::pwrite(handle, tail.data(), tail.size(), size - static_cast<int64_t>(tail.size())) ==
            static_cast<ssize_t>(tail.size());
    ::close(handle);
    return ok ? path : std::string();
}

} // namespace ov::test
