#include "Qtdesktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace ov {

bool OpenWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace ov
