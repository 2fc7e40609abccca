// The whole-text operations of TOVStringList: splitting text into lines,
// loading and saving files, delimited word lists.

#include "Ovstrings.h"

#include "Charcoding.h"
#include "Charsets.h"
#include "Codepage.h"
#include "Convertedtext.h"
#include "Errors.h"
#include "Files.h"
#include "Linereader.h"
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
    TLineReader(file, start, size, LoadChunkSize, PlainStep()).ReadAll([this](std::string_view line) {
        Add(line);
    });
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

void TOVStringList::LoadConverted(const TReadOnlyFile& file, std::int64_t start,
                                  std::int64_t size, const char* charset) {
    // A text larger than the first part is converted on a worker, through
    // an opening of its own, while the first screen is shown.
    auto again = std::make_unique<TReadOnlyFile>();
    if (static_cast<std::uint64_t>(size - start) > FLoadPolicy.FirstPartBytes &&
        again->OpenAgain(file)) {
        const std::size_t piece = static_cast<std::size_t>(
            std::clamp<std::uint64_t>(FLoadPolicy.FirstPartBytes, 1, LoadChunkSize));
        FConverted = std::make_unique<TConvertedText>(std::move(again), start, size, piece,
                                                      DecodeStep(charset), FLoadPolicy);
        FText = FConverted.get();
        FCount = FText->Count();
        FCapacity = FCount;
        OwnConvertedText(); // when the first part was the whole text
        return;
    }
    TLineReader(file, start, size, LoadChunkSize, DecodeStep(charset))
        .ReadAll([this](std::string_view line) { Add(line); });
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
    default:
        // The converted text, not the file, must fit.
        CheckCopyFits(ConvertedBytesBound(encoding, size - mark));
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
