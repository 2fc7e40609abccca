#include "Filelists.h"

#include "Filecoding.h"

#include "Inifiles.h"

namespace ov {

std::string_view RecentEntryPath(std::string_view entry) {
    size_t equals = entry.rfind('=');
    return equals == std::string_view::npos ? entry : entry.substr(0, equals);
}

namespace {

// What follows the path: "top index" or "top index,encoding"; empty when
// the entry has no "=".
std::string_view RecentEntryValue(std::string_view entry) {
    size_t equals = entry.rfind('=');
    return equals == std::string_view::npos ? std::string_view() : entry.substr(equals + 1);
}

std::string RecentEntry(const std::string& path, int topIndex, TCodingChoice coding) {
    std::string entry = path + "=" + std::to_string(topIndex);
    if (coding)
        entry += std::string(",") + EncodingName(*coding);
    return entry;
}

} // namespace

int RecentEntryTopIndex(std::string_view entry) {
    const std::string_view value = RecentEntryValue(entry);
    int top = -1;
    if (value.empty() || !TryParseInteger(value.substr(0, value.find(',')), top))
        return -1;
    return top;
}

TCodingChoice RecentEntryCoding(std::string_view entry) {
    const std::string_view value = RecentEntryValue(entry);
    const size_t comma = value.find(',');
    return comma == std::string_view::npos ? TCodingChoice() : EncodingNamed(value.substr(comma + 1));
}

int IndexOfRecentFile(const std::vector<std::string>& list, std::string_view path) {
    for (size_t i = 0; i < list.size(); ++i)
        if (RecentEntryPath(list[i]) == path)
            return static_cast<int>(i);
    return -1;
}

void RecordRecentFile(std::vector<std::string>& list, const std::string& path, int topIndex,
                      int maxCount, TCodingChoice coding) {
    if (!TSettingsStore::KeepsLine(RecentEntry(path, topIndex, coding)))
        return;
    int index = IndexOfRecentFile(list, path);
    if (index >= 0) {
        std::string& entry = list[static_cast<size_t>(index)];
        entry = RecentEntry(path, topIndex, coding);
        std::swap(entry, list.back());
        return;
    }
    while (!list.empty() && static_cast<int>(list.size()) >= maxCount)
        list.erase(list.begin());
    list.push_back(RecentEntry(path, topIndex, coding));
}

std::string BookmarkEntry(const std::string& path, const std::array<int, 10>& bookmarks) {
    std::string value;
    for (size_t n = 0; n < bookmarks.size(); ++n) {
        if (bookmarks[n] < 0)
            continue;
        value += (value.empty() ? "" : ",") + std::to_string(n) + ":" +
                 std::to_string(bookmarks[n]);
    }
    const std::string entry = path + "=" + value;
    return value.empty() || !TSettingsStore::KeepsLine(entry) ? std::string() : entry;
}

std::array<int, 10> BookmarkEntryRows(std::string_view entry) {
    std::array<int, 10> rows;
    rows.fill(-1);
    const size_t equals = entry.rfind('=');
    if (equals == std::string_view::npos)
        return rows;
    std::string_view rest = entry.substr(equals + 1);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const size_t colon = item.find(':');
        int n = -1;
        int row = -1;
        if (colon != std::string_view::npos && TryParseInteger(item.substr(0, colon), n) &&
            TryParseInteger(item.substr(colon + 1), row) && n >= 0 && n < int(rows.size()) &&
            row >= 0)
            rows[size_t(n)] = row;
    }
    return rows;
}

bool LooksBinary(std::string_view head) {
    if (head.size() > 128)
        head = head.substr(0, 128);
    if (LooksLikeText(head))
        return false;
    size_t examined = head.empty() ? 0 : head.size() - 1;
    int blanks = 0;
    int lineFeeds = 0;
    for (size_t i = 0; i < examined; ++i) {
        if (head[i] == '\0')
            return true;
        blanks += head[i] == ' ';
        lineFeeds += head[i] == '\n';
    }
    return blanks < static_cast<double>(head.size()) * 0.03 && lineFeeds == 0;
}

} // namespace ov
