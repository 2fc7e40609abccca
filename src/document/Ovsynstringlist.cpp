// TOVSynStringList: the document, with one style byte per text byte. The
// style bytes live in the list's block storage like the texts, so they are
// released together at Clear; a row gets them when the first is written.

#include "Ovstrings.h"

#include "Errors.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <typeinfo>

namespace ov {

TOVSynStringList::~TOVSynStringList() = default;

void TOVSynStringList::SetCapacity(int newCapacity) {
    OwnText();
    newCapacity = std::max(newCapacity, Count());
    if (newCapacity == Capacity())
        return;
    if (newCapacity <= 0) {
        std::vector<TStyleByte*>().swap(FStyles);
    } else {
        try {
            FStyles.resize(static_cast<std::size_t>(newCapacity));
        } catch (const std::bad_alloc&) {
            ThrowOutOfMemory();
        }
    }
    TOVStringList::SetCapacity(newCapacity);
}

TStyleByte* TOVSynStringList::NewStyles(std::size_t length) {
    auto* styles = reinterpret_cast<TStyleByte*>(AllocateBlock(length));
    std::memset(styles, 0, length);
    return styles;
}

void TOVSynStringList::TextOwned() { FStyles.resize(static_cast<std::size_t>(Capacity()), nullptr); }

void TOVSynStringList::ResetMarks(TMarkMode mode) {
    std::vector<TStyleByte*>().swap(FStyles);
    FWindow = TMarkWindow();
    FMarkMode = mode;
}

void TOVSynStringList::StreamMarks(std::function<void(int end)> final, int first) {
    if (!final) {
        ResetMarks(TMarkMode::All);
        return;
    }
    ResetMarks(TMarkMode::Streamed);
    FWindow.Final = std::move(final);
    FWindow.First = FWindow.Frontier = std::max(first, 0);
}

void TOVSynStringList::WindowMarks(int first) {
    ResetMarks(TMarkMode::Windowed);
    FWindow.First = first;
}

void TOVSynStringList::AdvanceStream(int row) {
    TMarkWindow& stream = FWindow;
    stream.Frontier = row;
    const int end = row - StreamBackRows;
    if (end <= stream.First)
        return;
    stream.Final(end);
    for (; stream.First < end && !stream.Rows.empty(); ++stream.First)
        stream.Rows.pop_front();
    stream.First = std::max(stream.First, end);
}

TStyleByte* TOVSynStringList::StoreStyles(int row) {
    if (FMarkMode != TMarkMode::All) {
        TMarkWindow& stream = FWindow;
        if (row < stream.First) {
            // The scan never goes back that far; should it, the marks go nowhere.
            stream.Scratch.assign(static_cast<std::size_t>(RowLength(row)) + 1, 0);
            return stream.Scratch.data();
        }
        while (stream.Rows.size() <= static_cast<std::size_t>(row - stream.First))
            stream.Rows.emplace_back();
        std::unique_ptr<TStyleByte[]>& styles = stream.Rows[static_cast<std::size_t>(row - stream.First)];
        if (!styles)
            styles.reset(new TStyleByte[static_cast<std::size_t>(RowLength(row)) + 1]());
        return styles.get();
    }
    // A mapped document's slots grow with the rows marked, so that marking
    // its first screen does not cost a slot for every row.
    if (static_cast<std::size_t>(row) >= FStyles.size())
        FStyles.resize(std::max(static_cast<std::size_t>(row) + 1,
                                std::min(FStyles.size() * 2, static_cast<std::size_t>(Count()))),
                       nullptr);
    TStyleByte*& styles = FStyles[static_cast<std::size_t>(row)];
    if (!styles)
        styles = NewStyles(static_cast<std::size_t>(RowLength(row)));
    return styles;
}

int TOVSynStringList::AddObject(std::string_view text, std::intptr_t object) {
    OwnText();
    if (Count() == Capacity())
        Grow();
    FStyles[static_cast<std::size_t>(Count())] = nullptr;
    return TOVStringList::AddObject(text, object);
}

void TOVSynStringList::Insert(int index, std::string_view text) {
    CheckIndex(index, "TOVSynStringList.Insert");
    OwnText();
    if (Count() == Capacity())
        Grow();
    TStyleByte* styles = nullptr;
    auto at = static_cast<std::size_t>(index);
    auto end = static_cast<std::size_t>(Count());
    std::move_backward(FStyles.begin() + at, FStyles.begin() + end, FStyles.begin() + end + 1);
    FStyles[at] = styles;
    try {
        TOVStringList::Insert(index, text);
    } catch (...) {
        // The text was not stored: the later style arrays go back to their lines.
        std::move(FStyles.begin() + at + 1, FStyles.begin() + end + 1, FStyles.begin() + at);
        throw;
    }
}

void TOVSynStringList::TextSet(int index, int oldLength) {
    auto row = static_cast<std::size_t>(index);
    if (!FStyles[row])
        return; // no marks to keep
    auto length = static_cast<std::size_t>(GetLength(index));
    TStyleByte* styles = NewStyles(length);
    std::memcpy(styles, FStyles[row], std::min(length, static_cast<std::size_t>(oldLength)));
    FStyles[row] = styles;
}

void TOVSynStringList::TextGrown(int first) {
    if (FMarkMode != TMarkMode::All) {
        for (int row = std::max(first, FWindow.First);
             static_cast<std::size_t>(row - FWindow.First) < FWindow.Rows.size(); ++row)
            FWindow.Rows[static_cast<std::size_t>(row - FWindow.First)].reset();
        return;
    }
    // The arena keeps the old arrays until the text goes.
    for (std::size_t row = static_cast<std::size_t>(std::max(first, 0)); row < FStyles.size(); ++row)
        FStyles[row] = nullptr;
}

void TOVSynStringList::Delete(int index) {
    CheckIndex(index, "TOVSynStringList.Delete");
    OwnText();
    auto at = static_cast<std::size_t>(index);
    auto end = static_cast<std::size_t>(Count());
    std::move(FStyles.begin() + at + 1, FStyles.begin() + end, FStyles.begin() + at);
    TOVStringList::Delete(index);
}

void TOVSynStringList::Clear() { TOVStringList::Clear(); }

void TOVSynStringList::Exchange(int i, int j) {
    TOVStringList::Exchange(i, j);
    std::swap(FStyles[static_cast<std::size_t>(i)], FStyles[static_cast<std::size_t>(j)]);
}

void TOVSynStringList::AddStrings(const TOVStringList& source) {
    if (typeid(source) != typeid(TOVSynStringList)) {
        TOVStringList::AddStrings(source);
        return;
    }
    const auto& styled = static_cast<const TOVSynStringList&>(source);
    Batch([&] {
        int count = styled.Count();
        std::string shown;
        for (int i = 0; i < count; ++i) {
            int row = AddObject(styled.ShownView(i, shown), styled.GetObject(i));
            if (const TStyleByte* styles = styled.StoredStyles(i))
                std::memcpy(StoreStyles(row), styles, static_cast<std::size_t>(styled.GetLength(i)));
        }
    });
}

void TOVSynStringList::Assign(const TOVStringList& source) {
    if (typeid(source) != typeid(TOVSynStringList)) {
        TOVStringList::Assign(source);
        return;
    }
    AssignFrom(source);
}

TStyleByte TOVSynStringList::GetStyleID(int row, int column) const {
    CheckIndex(row, "TOVSynStringList.GetStyleID");
    // A column outside the row reads as "no mark" instead of reading past it.
    if (column < 0 || column >= GetLength(row))
        return 0;
    const TStyleByte* styles = StoredStyles(row);
    return styles ? styles[column] : 0;
}

void TOVSynStringList::SetStyleID(int row, int column, TStyleByte style) {
    CheckIndex(row, "TOVSynStringList.SetStyleID(Row)");
    if (column < 0 || column >= GetLength(row))
        return;
    RowStyles(row)[column] = style;
}

const TStyleByte* TOVSynStringList::GetStyleBytes(int row) const {
    CheckIndex(row, "TOVSynStringList.GetStyleID");
    return RowStyles(row);
}

TStyleByte* TOVSynStringList::GetStyleBytes(int row) {
    CheckIndex(row, "TOVSynStringList.GetStyleID");
    return RowStyles(row);
}

void TOVSynStringList::ClearStyles(int firstRow, int lastRow) {
    if (FMarkMode != TMarkMode::All) {
        for (auto& styles : FWindow.Rows)
            styles.reset();
        return;
    }
    const int rows = std::min({Count(), static_cast<int>(FStyles.size()),
                               lastRow == INT_MAX ? INT_MAX : lastRow + 1});
    for (int row = std::max(firstRow, 0); row < rows; ++row) {
        if (TStyleByte* styles = FStyles[static_cast<std::size_t>(row)])
            std::memset(styles, 0, static_cast<std::size_t>(RowLength(row)));
    }
}

} // namespace ov
