// The whole-text operations of TOVStringList: splitting text into lines,
// loading and saving files, delimited word lists.

#include "Ovstrings.h"

#include "Charcoding.h"
#include "Charsets.h"
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

// One line of UTF-16 units as UTF-8: surrogate pairs joined, a lone
// surrogate U+FFFD.
std::string Utf8FromUnits(std::u16string_view units) {
    std::string out;
    out.reserve(units.size() * 3);
    auto put = [&out](char32_t code) { AppendUtf8(out, code); };
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            put(0x10000 + (char32_t(unit - 0xD800) << 10) + char32_t(units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            put(0xFFFD);
        } else {
            put(unit);
        }
    }
    return out;
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

void TOVStringList::LoadStream(const TReadOnlyFile& file, std::int64_t start, std::int64_t size) {
    std::string chunk;
    try {
        chunk.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, LoadChunkSize)));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    TLineSplitter splitter;
    auto add = [this](std::string_view line) { Add(line); };
    std::int64_t offset = start;
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

bool TOVStringList::MayLoad(std::int64_t size, bool copied) {
    if (size < 0)
        return false;
    if (size > LargeFileSize &&
        !UIServices().AskYesNo(LoadStr(SLargeFileQuestion), LoadStr(SConfirm),
                               TMessageIcon::Information))
        return false;
    if (copied)
        CheckCopyFits(size);
    return true;
}

void TOVStringList::CheckCopyFits(std::int64_t size) {
    // The text and one style byte per text byte must fit; refuse before the
    // list is touched rather than let the system kill the program.
    if (std::optional<std::int64_t> available = AvailableMemory();
        available && size > *available / 2)
        ThrowOutOfMemory();
}

bool TOVStringList::MapFile(const TReadOnlyFile& opened, std::int64_t start) {
    auto file = std::make_unique<TMappedFile>();
    if (!file->Map(opened) || file->Size() < start)
        return false;
    // The index checks what it needs itself (EOutOfMemory), before the list
    // takes it.
    auto lines = std::make_shared<TMappedLines>(std::move(file), start,
                                                FLoadPolicy.FirstPartBytes, FLoadPolicy.Gate);
    ViewMapped(lines);
    lines->StartRest();
    return true;
}

void TOVStringList::LoadViewedText(const TReadOnlyFile& file, std::int64_t start,
                                   std::int64_t size) {
    if (MapFile(file, start))
        return;
    CheckCopyFits(size);
    LoadStream(file, start, size);
}

template <typename TFill> void TOVStringList::ReplaceLoadedText(TTextCoding coding, TFill&& fill) {
    ReplaceWholeText([&] {
        FCoding = coding;
        try {
            fill();
        } catch (const std::bad_alloc&) {
            Clear(); // a partial document would pass for the whole file
            ThrowOutOfMemory(); // the message the user gets, wherever memory ran out
        } catch (...) {
            Clear();
            throw;
        }
    });
}

void TOVStringList::LoadFromFile(const std::string& fileName) {
    TReadOnlyFile file;
    if (!file.Open(fileName))
        return;
    TWaitCursor wait;
    std::int64_t size = file.Size();
    if (!MayLoad(size, true))
        return;

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
        // An odd last byte is the low half of a unit whose high half, never
        // read, stays zero: the file reads as if a zero byte followed it.
        units.resize(got > 0 ? static_cast<std::size_t>((got + 1) / 2) : 0);
        std::replace(units.begin(), units.end(), u'\0', u' ');
    }

    ReplaceLoadedText(TTextCoding::Cp949, [&] {
        if (unicode)
            SplitUnits(units.data(), units.size(),
                       [this](std::u16string_view line) { Add(AnsiFromWide(line)); });
        else
            LoadStream(file, 0, size);
    });
}

void TOVStringList::LoadUtf16(const TReadOnlyFile& file, std::int64_t size, bool bigEndian) {
    std::u16string units;
    const std::int64_t bytes = std::max<std::int64_t>(size - 2, 0);
    try {
        units.resize(static_cast<std::size_t>((bytes + 1) / 2));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    std::int64_t got = bytes > 0 ? file.ReadAt(2, units.data(), bytes) : 0;
    got = std::max<std::int64_t>(got, 0);
    units.resize(static_cast<std::size_t>((got + 1) / 2));
    if (bigEndian)
        for (char16_t& unit : units)
            unit = char16_t(unit << 8 | unit >> 8);
    // A last byte without its pair cannot be decoded, but is not dropped.
    if (got % 2 != 0)
        units.back() = u'\uFFFD';
    std::replace(units.begin(), units.end(), u'\0', u' ');
    ReplaceLoadedText(TTextCoding::Utf8, [&] {
        SplitUnits(units.data(), units.size(),
                   [this](std::u16string_view line) { Add(Utf8FromUnits(line)); });
    });
}

void TOVStringList::LoadConverted(const TReadOnlyFile& file, std::int64_t start,
                                  std::int64_t size, const char* charset) {
    std::string chunk;
    std::string utf8;
    try {
        chunk.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, LoadChunkSize)));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    TCharsetDecoder decoder(charset);
    TLineSplitter splitter;
    auto add = [this](std::string_view line) { Add(line); };
    auto feed = [&] {
        ReplaceNulBytes(utf8.data(), utf8.size()); // a U+0000 character
        splitter.Feed(utf8.data(), utf8.size(), add);
        utf8.clear();
    };
    std::int64_t offset = start;
    while (offset < size) {
        std::int64_t want = std::min<std::int64_t>(size - offset, std::int64_t(chunk.size()));
        std::int64_t got = file.ReadAt(offset, chunk.data(), want);
        if (got <= 0)
            break; // the file shrank or failed: keep what was read
        decoder.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(got)), utf8);
        feed();
        offset += got;
    }
    decoder.Finish(utf8);
    feed();
    splitter.Finish(add);
}

std::optional<TFileEncoding> TOVStringList::LoadViewedFile(const std::string& fileName,
                                                           TCodingChoice choice) {
    TReadOnlyFile file;
    if (!file.Open(fileName))
        return std::nullopt;
    return LoadViewedFile(file, choice);
}

std::optional<TFileEncoding> TOVStringList::LoadViewedFile(const TReadOnlyFile& file,
                                                           TCodingChoice choice) {
    if (!file.IsOpen())
        return std::nullopt;
    TWaitCursor wait;
    std::int64_t size = file.Size();
    if (!MayLoad(size, false))
        return std::nullopt;
    std::string head;
    head.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, DetectionBytes)));
    const std::int64_t got = head.empty() ? 0 : file.ReadAt(0, head.data(), std::int64_t(head.size()));
    head.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
    const TFileEncoding encoding = ChosenEncoding(head, choice);
    // A mark, where there is one, gave the encoding; UTF-16 or UTF-32 chosen
    // by hand for a file without one starts at its first byte.
    const std::int64_t mark = std::int64_t(ByteOrderMarkAt(head));
    switch (encoding) {
    case TFileEncoding::Utf8:
    case TFileEncoding::Utf8Bom:
        ReplaceLoadedText(TTextCoding::Utf8, [&] { LoadViewedText(file, mark, size); });
        break;
    case TFileEncoding::Cp949:
        ReplaceLoadedText(TTextCoding::Cp949, [&] { LoadViewedText(file, 0, size); });
        break;
    case TFileEncoding::Utf16Le:
    case TFileEncoding::Utf16Be:
        if (mark > 0) {
            CheckCopyFits(size);
            LoadUtf16(file, size, encoding == TFileEncoding::Utf16Be);
            break;
        }
        [[fallthrough]];
    default:
        CheckCopyFits(size);
        ReplaceLoadedText(TTextCoding::Utf8, [&] {
            LoadConverted(file, mark, size, EncodingInfo(encoding).Charset);
        });
        break;
    }
    return encoding;
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
    return file.Close().Ok();
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
