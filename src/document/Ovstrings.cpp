#include "Ovstrings.h"

#include "Codepage.h"
#include "Convertedtext.h"
#include "Errors.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <exception>
#include <new>
#include <typeinfo>

namespace ov {

// ---------------------------------------------------------------- arena

namespace {
constexpr std::size_t ArenaChunkSize = 1 << 20;
// Blocks larger than this get a chunk of their own, so a huge line does not
// waste the rest of a chunk.
constexpr std::size_t ArenaLargeBlock = ArenaChunkSize / 8;
} // namespace

char* TBlockArena::Allocate(std::size_t size) {
    // An empty block is still a valid pointer (the style bytes of an empty
    // line are handed to memset and memcpy, which take no null pointer).
    static char EmptyBlock[4];
    if (size == 0)
        return EmptyBlock;
    size = (size + 3) & ~std::size_t(3);
    if (size > FLeft) {
        std::size_t chunk = size > ArenaLargeBlock ? size : ArenaChunkSize;
        try {
            FChunks.emplace_back(new char[chunk]);
        } catch (const std::bad_alloc&) {
            ThrowOutOfMemory();
        }
        FReserved += chunk;
        if (size > ArenaLargeBlock)
            return FChunks.back().get(); // the current chunk stays the one to carve from
        FNext = FChunks.back().get();
        FLeft = chunk;
    }
    char* block = FNext;
    FNext += size;
    FLeft -= size;
    return block;
}

void TBlockArena::Append(TBlockArena&& other) {
    FChunks.reserve(FChunks.size() + other.FChunks.size());
    for (std::unique_ptr<char[]>& chunk : other.FChunks)
        FChunks.push_back(std::move(chunk));
    FReserved += other.FReserved;
    other.FChunks.clear();
    other.FNext = nullptr;
    other.FLeft = 0;
    other.FReserved = 0;
}

char* StoreLine(TBlockArena& arena, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX - 8))
        ThrowOutOfMemory();
    auto length = static_cast<std::int32_t>(text.size());
    char* block = arena.Allocate(sizeof length + text.size() + 1);
    std::memcpy(block, &length, sizeof length);
    char* copy = block + sizeof length;
    if (!text.empty())
        std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

void TBlockArena::Release() {
    FChunks.clear();
    FChunks.shrink_to_fit();
    FNext = nullptr;
    FLeft = 0;
    FReserved = 0;
}

// ---------------------------------------------------------------- TOVStringList

namespace {

} // namespace

TOVStringList::TOVStringList() = default;

TOVStringList::~TOVStringList() {
    OnChange = nullptr;
    FCount = 0;
}

char* TOVStringList::CopyText(std::string_view text) {
    return StoreLine(FArena, text);
}

void TOVStringList::CheckIndex(int index, const char* label) const {
    if (index < 0 || index >= FCount)
        ThrowRangeError(label, index);
}

const char* TOVStringList::Get(int index) const {
    CheckIndex(index, "TOVStringList.Get");
    return RowText(index);
}

int TOVStringList::GetLength(int index) const {
    CheckIndex(index, "TOVStringList.Get");
    return RowLength(index);
}

TOVStringList::TMappedTail TOVStringList::MappedTail(int line) const {
    CheckIndex(line, "TOVStringList.Get");
    if (!FMapped)
        return {};
    const std::shared_ptr<TMappedLines>& lines = FMapped->Lines();
    // Offsets count from the first line's first byte, after a byte-order mark.
    const std::size_t from = static_cast<std::size_t>(lines->Text(line) - lines->Text(0));
    return {lines, std::string_view(lines->Text(line), lines->Bytes() - from)};
}

bool TOVStringList::TakeLoadedLines() {
    const int before = FCount;
    // A worker that had to stop early is told after the lines it had found
    // are taken.
    std::exception_ptr failure;
    try {
        FText->Take();
    } catch (...) {
        failure = std::current_exception();
    }
    FCount = FText->Count();
    FCapacity = FCount;
    OwnConvertedText();
    if (FCount != before && OnAppend)
        OnAppend(this);
    if (failure)
        std::rethrow_exception(failure);
    return FCount != before;
}

bool TOVStringList::GrowMappedText() {
    if (!FMapped || !FMapped->Grow())
        return false;
    FGrownFrom = std::max(0, FCount - 1);
    FCount = FText->Count();
    FCapacity = FCount;
    TextGrown(FGrownFrom);
    struct TAfter {
        int& From;
        ~TAfter() { From = INT_MAX; }
    } after{FGrownFrom};
    if (OnAppend)
        OnAppend(this);
    return true;
}

void TOVStringList::FinishLoading() {
    if (Loading()) {
        struct TAfter {
            TOVStringList& List;
            ~TAfter() {
                List.FCount = List.FText->Count();
                List.FCapacity = List.FCount;
            }
        } after{*this};
        FText->Finish();
    }
    OwnConvertedText();
}

void TOVStringList::OwnConvertedText() {
    if (!FConverted || FConverted->Pending())
        return;
    try {
        FOwned.Adopt(FConverted->Release(FArena));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    // Every object is 0 and no line has marks beyond those made: the slots
    // of millions of lines are not filled in one tick of the window thread
    // but before the first change (SizeSlots).
    std::vector<std::intptr_t>().swap(FObjects);
    FText = &FOwned;
    FConverted.reset();
    FCount = FOwned.Count();
    FCapacity = FCount;
}

void TOVStringList::SizeSlots() {
    if (FObjects.size() >= static_cast<std::size_t>(FCapacity))
        return;
    try {
        FObjects.resize(static_cast<std::size_t>(FCapacity));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    TextOwned();
}

void TOVStringList::ViewMapped(std::shared_ptr<TMappedLines> lines) {
    FMapped = std::make_unique<TMappedText>(std::move(lines));
    FText = FMapped.get();
    FCount = FText->Count();
    FCapacity = FCount;
}

bool TOVStringList::ShareMappedText(const TOVStringList& source) {
    if (!source.FMapped || source.Loading() || &source == this)
        return false;
    Batch([&] {
        Clear();
        ViewMapped(source.FMapped->Lines());
        FCoding = source.FCoding;
    });
    return true;
}

bool TOVStringList::ShareTakenLines(const TOVStringList& source) {
    if (!source.FMapped || &source == this)
        return false;
    Batch([&] {
        Clear();
        ViewMapped(source.FMapped->Lines());
        // The index's own count moves on with the source's takes; this view
        // keeps the count the source had.
        FCount = source.FCount;
        FCapacity = FCount;
        FCoding = source.FCoding;
    });
    return true;
}

void TOVStringList::OwnText() {
    if (FConverted)
        FinishLoading(); // the text becomes the list's own when whole
    if (!FMapped) {
        SizeSlots();
        return;
    }
    FinishLoading(); // the copy is of the whole file
    try {
        std::vector<char*> lines(static_cast<std::size_t>(FCount));
        std::vector<std::intptr_t> objects(static_cast<std::size_t>(FCount));
        std::string shown;
        for (int i = 0; i < FCount; ++i)
            lines[static_cast<std::size_t>(i)] = CopyText(FMapped->Shown(i, shown));
        FOwned.Adopt(std::move(lines));
        FObjects.swap(objects);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    FText = &FOwned;
    FMapped.reset();
    FCapacity = FCount;
    TextOwned();
}

void TOVStringList::Set(int index, std::string_view text) {
    CheckIndex(index, "TOVStringList.Set");
    OwnText();
    char*& entry = FOwned.Line(index);
    char* old = entry;
    entry = CopyText(text);
    if (StoredLength(old) != StoredLength(entry)) {
        try {
            TextSet(index, StoredLength(old));
        } catch (...) {
            entry = old; // the old text stays in the arena until Clear
            throw;
        }
    }
    Changed();
}

std::intptr_t TOVStringList::GetObject(int index) const {
    CheckIndex(index, "TOVStringList.GetObject");
    return static_cast<std::size_t>(index) < FObjects.size() ? FObjects[static_cast<std::size_t>(index)]
                                                             : 0;
}

void TOVStringList::SetObject(int index, std::intptr_t object) {
    CheckIndex(index, "TOVStringList.SetObject");
    OwnText();
    FObjects[static_cast<std::size_t>(index)] = object;
}

void TOVStringList::SetCapacity(int newCapacity) {
    OwnText();
    // Never below Count: the slots of the entries stay.
    newCapacity = std::max(newCapacity, FCount);
    if (newCapacity == FCapacity)
        return;
    if (newCapacity <= 0) {
        FOwned.SetCapacity(0);
        std::vector<std::intptr_t>().swap(FObjects);
        FCapacity = 0;
        return;
    }
    try {
        FOwned.SetCapacity(newCapacity);
        FObjects.resize(static_cast<std::size_t>(newCapacity));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    FCapacity = newCapacity;
}

void TOVStringList::Grow() {
    int delta = FCapacity > 64 ? FCapacity / 4 : (FCapacity > 8 ? 16 : 4);
    if (FCapacity == INT_MAX)
        ThrowOutOfMemory(); // no more entries can be counted
    if (FCapacity > INT_MAX - delta)
        delta = INT_MAX - FCapacity;
    SetCapacity(FCapacity + delta);
}

int TOVStringList::AddObject(std::string_view text, std::intptr_t object) {
    OwnText();
    if (FCount == FCapacity)
        Grow();
    char* copy = CopyText(text);
    FObjects[static_cast<std::size_t>(FCount)] = object;
    FOwned.Append(copy);
    FCount = FOwned.Count();
    Changed();
    return FCount - 1;
}

void TOVStringList::Insert(int index, std::string_view text) {
    CheckIndex(index, "TOVStringList.Insert");
    OwnText();
    if (FCount == FCapacity)
        Grow();
    char* copy = CopyText(text);
    auto at = static_cast<std::size_t>(index);
    auto end = static_cast<std::size_t>(FCount);
    std::move_backward(FObjects.begin() + at, FObjects.begin() + end, FObjects.begin() + end + 1);
    FObjects[at] = 0;
    FOwned.Insert(index, copy);
    FCount = FOwned.Count();
    Changed();
}

void TOVStringList::Delete(int index) {
    CheckIndex(index, "TOVStringList.Delete");
    OwnText();
    auto at = static_cast<std::size_t>(index);
    auto end = static_cast<std::size_t>(FCount);
    std::move(FObjects.begin() + at + 1, FObjects.begin() + end, FObjects.begin() + at);
    FOwned.Delete(index);
    FCount = FOwned.Count();
    Changed();
}

void TOVStringList::Clear() {
    FCount = 0;
    FText = &FOwned;
    FMapped.reset(); // nothing to copy: the entries go
    FConverted.reset(); // its worker is stopped
    FOwned.Adopt({});
    FArena.Release();
    SetCapacity(0);
    Changed();
}

void TOVStringList::Changed() {
    if (FUpdateCount != 0)
        return;
    if (FSorted && FCount > 0) {
        OwnText();
        QuickSort(0, FCount - 1);
    }
    if (OnChange)
        OnChange(this);
    FTextReplaced = false;
}

void TOVStringList::EndUpdate() {
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TOVStringList::Exchange(int i, int j) {
    FOwned.Exchange(i, j);
    // Object values travel with their texts so that no entry changes its value.
    std::swap(FObjects[static_cast<std::size_t>(i)], FObjects[static_cast<std::size_t>(j)]);
}

void TOVStringList::QuickSort(int left, int right) {
    do {
        int i = left;
        int j = right;
        const char* pivot = FOwned.Text((left + right) / 2);
        do {
            while (AnsiCompare(FOwned.Text(i), pivot) < 0)
                ++i;
            while (AnsiCompare(FOwned.Text(j), pivot) > 0)
                --j;
            if (i <= j) {
                Exchange(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            QuickSort(left, j);
        left = i;
    } while (left < right);
}

void TOVStringList::Sort() {
    if (FCount <= 0)
        return;
    OwnText();
    QuickSort(0, FCount - 1);
    Changed();
}

void TOVStringList::SetSorted(bool sorted) {
    if (sorted == FSorted)
        return;
    FSorted = sorted;
    if (FSorted && FCount > 0) {
        OwnText();
        QuickSort(0, FCount - 1);
    }
}

int TOVStringList::IndexOf(std::string_view text) {
    std::string key(text);
    if (FSorted) {
        OwnText(); // sorted entries are compared as NUL-terminated texts
        int lo = 0;
        int hi = FCount - 1;
        while (lo <= hi) {
            int mid = lo + (hi - lo) / 2;
            const char* entry = FOwned.Text(mid);
            int order = FCaseSensitive ? AnsiCompare(entry, key.c_str())
                                       : AnsiCompareText(entry, key.c_str());
            if (order == 0)
                return mid;
            if (order > 0)
                hi = mid - 1;
            else
                lo = mid + 1;
        }
        return -1;
    }
    for (int i = 0; i < FCount; ++i) {
        if (static_cast<std::size_t>(RowLength(i)) == text.size() &&
            std::memcmp(RowText(i), text.data(), text.size()) == 0)
            return i;
    }
    return -1;
}

void TOVStringList::AddStrings(const TOVStringList& source) {
    Batch([&] {
        int count = source.Count();
        std::string shown;
        for (int i = 0; i < count; ++i)
            AddObject(source.ShownView(i, shown), source.GetObject(i));
    });
}

void TOVStringList::Assign(const TOVStringList& source) {
    if (typeid(source) != typeid(TOVStringList))
        throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a " +
                            ClassName());
    AssignFrom(source);
}

void TOVStringList::AssignFrom(const TOVStringList& source) {
    if (&source == this)
        return;
    Batch([&] {
        Clear();
        FDelimiter = source.FDelimiter;
        FCaseSensitive = source.FCaseSensitive;
        FCoding = source.FCoding;
        FSorted = source.FSorted; // the flag only: the copy arrives in order
        AddStrings(source);
    });
}

} // namespace ov
