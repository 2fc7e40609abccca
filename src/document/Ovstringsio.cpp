// The whole-text operations of TOVStringList: splitting text into lines,
// loading and saving files, delimited word lists.

#include "Ovstrings.h"

#include "Codepage.h"
#include "Errors.h"
#include "Files.h"
#include "Linesplitter.h"
#include "Messages.h"
#include "System.h"
#include "Uiservices.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ov {

namespace {

constexpr std::int64_t LargeFileSize = 104857600; // 100 MiB: larger files ask first
constexpr std::size_t LoadChunkSize = 8 << 20;

// Calls line(std::u16string_view) for each line of n UTF-16 units.
template <typename TSink> void SplitUnits(const char16_t* p, std::size_t n, TSink&& line) {
    const char16_t* end = p + n;
    while (p < end) {
        const char16_t* start = p;
        while (p < end && *p != u'\n' && *p != u'\r')
            ++p;
        line(std::u16string_view(start, static_cast<std::size_t>(p - start)));
        if (p < end && *p == u'\r')
            ++p;
        if (p < end && *p == u'\n')
            ++p;
    }
}

// A NUL inside a viewed file would end its text early; it reads as a space.
void ReplaceNulBytes(char* data, std::size_t size) {
    char* end = data + size;
    for (char* p = data; (p = static_cast<char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p))));)
        *p++ = ' ';
}

} // namespace

template <typename TFill> void TOVStringList::ReplaceWholeText(TFill&& fill) {
    Batch([&] {
        try {
            Clear();
            fill();
        } catch (...) {
            SetTextReplaced();
            throw;
        }
        SetTextReplaced();
    });
}

void TOVStringList::SetTextStr(const char* text) {
    ReplaceWholeText([&] {
        if (!text)
            return;
        TLineSplitter splitter;
        auto add = [this](std::string_view line) { Add(line); };
        splitter.Feed(text, std::strlen(text), add);
        splitter.Finish(add);
    });
}

void TOVStringList::SetUnicodeTextStr(const char16_t* text) {
    std::size_t length = 0;
    if (text)
        while (text[length])
            ++length;
    ReplaceWholeText([&] {
        SplitUnits(text, length, [this](std::u16string_view line) { Add(AnsiFromWide(line)); });
    });
}

void TOVStringList::LoadStream(TReadOnlyFile& file, std::int64_t size) {
    std::string chunk;
    try {
        chunk.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, LoadChunkSize)));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    TLineSplitter splitter;
    auto add = [this](std::string_view line) { Add(line); };
    std::int64_t offset = 0;
    while (offset < size) {
        std::int64_t want = std::min<std::int64_t>(size - offset, std::int64_t(chunk.size()));
        std::int64_t got = file.ReadAt(offset, chunk.data(), want);
        if (got <= 0)
            break; // the file shrank or failed: keep what was read
        ReplaceNulBytes(chunk.data(), static_cast<std::size_t>(got));
        splitter.Feed(chunk.data(), static_cast<std::size_t>(got), add);
        offset += got;
    }
    splitter.Finish(add);
}

void TOVStringList::LoadFromFile(const std::string& fileName) {
    TReadOnlyFile file;
    if (!file.Open(fileName))
        return;
    TWaitCursor wait;
    std::int64_t size = file.Size();
    if (size < 0)
        return;
    if (size > LargeFileSize &&
        !UIServices().AskYesNo(LoadStr(SLargeFileQuestion), LoadStr(SConfirm),
                               TMessageIcon::Information))
        return;
    // The text and one style byte per text byte must fit; refuse before the
    // list is touched rather than let the system kill the program.
    if (std::optional<std::int64_t> available = AvailableMemory();
        available && size > *available / 2)
        ThrowOutOfMemory();

    unsigned char head[2] = {0, 0};
    bool unicode = size > 2 && file.ReadAt(0, head, 2) == 2 && head[0] == 0xFF && head[1] == 0xFE;
    std::u16string units;
    if (unicode) {
        try {
            units.resize(static_cast<std::size_t>((size - 2 + 1) / 2));
        } catch (const std::bad_alloc&) {
            ThrowOutOfMemory();
        }
        std::int64_t got = file.ReadAt(2, units.data(), size - 2);
        units.resize(got > 0 ? static_cast<std::size_t>(got / 2) : 0);
        std::replace(units.begin(), units.end(), u'\0', u' ');
    }

    ReplaceWholeText([&] {
        try {
            if (unicode)
                SplitUnits(units.data(), units.size(),
                           [this](std::u16string_view line) { Add(AnsiFromWide(line)); });
            else
                LoadStream(file, size);
        } catch (const std::bad_alloc&) {
            Clear(); // a partial document would pass for the whole file
            ThrowOutOfMemory(); // the message the user gets, wherever memory ran out
        } catch (...) {
            Clear();
            throw;
        }
    });
}

bool TOVStringList::SaveToFile(const std::string& fileName) {
    TWriteFile file;
    if (!file.Create(fileName))
        return false;
    std::string buffer;
    buffer.reserve(1 << 16);
    for (int i = 0; i < FCount; ++i) {
        buffer.append(GetView(i));
        buffer.push_back('\n');
        if (buffer.size() >= (1 << 16)) {
            file.Write(buffer.data(), buffer.size());
            buffer.clear();
        }
    }
    file.Write(buffer.data(), buffer.size());
    return file.Close();
}

std::string TOVStringList::GetDelimitedText() const {
    std::string text;
    for (int i = 0; i < FCount; ++i) {
        if (i > 0)
            text.push_back(FDelimiter);
        text.append(GetView(i));
    }
    return text;
}

void TOVStringList::SetDelimitedText(std::string_view text) {
    if (FDelimiter == 0)
        return;
    auto separator = [this](char c) { return c == '\n' || c == '\r' || c == FDelimiter; };
    Batch([&] {
        Clear();
        std::size_t p = 0;
        std::size_t end = std::min(text.size(), text.find('\0'));
        while (p < end) {
            std::size_t start = p;
            while (p < end && !separator(text[p]))
                ++p;
            Add(text.substr(start, p - start));
            while (p < end && separator(text[p]))
                ++p;
        }
    });
}

} // namespace ov
