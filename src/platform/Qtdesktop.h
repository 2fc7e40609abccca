#pragma once
// The desktop's "open" action for addresses: local help pages, web pages and
// mail addresses go to whatever program the desktop has for them.

class QUrl;

namespace ov {

// Returns at once; false when the desktop has nothing to open url with.
bool OpenWithDesktop(const QUrl& url);

} // namespace ov
