// The pieces of the main window's state, without a window.

#include "Bookmarks.h"
#include "Opendocument.h"
#include "Ovstrings.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

// A session of the shown file: the encoding choice holds while the same
// file is opened again and ends with another; a close records the row the
// file was left at, which the next opening finds; a close without a row
// records nothing, and the encoding read goes with the file.
TEST(OpenDocument, AChoiceHoldsForItsFileAndRowsComeBack) {
    test::TTempFolder folder;
    const std::string a = folder.Write("a.txt", "\xEA\xB0\x80\n");
    const std::string b = folder.Write("b.txt", "\xEA\xB0\x80\n");
    TOpenDocument document;
    TOVStringList lines;
    EXPECT_FALSE(document.IsOpen());
    EXPECT_EQ(document.SavedTopIndex(a), 0);

    document.Opening(a);
    document.SetFileName(a);
    document.SetCodingChoice(TFileEncoding::Cp949);
    document.LoadText(lines, a);
    EXPECT_EQ(document.Encoding(), TFileEncoding::Cp949);
    document.Opening(a); // a reload
    EXPECT_EQ(document.CodingChoice(), TFileEncoding::Cp949);
    document.Close(42);
    EXPECT_FALSE(document.Encoding());
    document.SetFileName({});

    document.Opening(b);
    EXPECT_EQ(document.CodingChoice(), TCodingChoice());
    document.SetFileName(b);
    document.LoadText(lines, b);
    EXPECT_EQ(document.Encoding(), TFileEncoding::Utf8);
    document.Close(-1);
    EXPECT_EQ(document.RecentFiles(), std::vector<std::string>{a + "=42,CP949"});
    EXPECT_EQ(document.SavedTopIndex(a), 42);
    EXPECT_EQ(document.SavedTopIndex(b), 0);
    EXPECT_EQ(document.RecentPath(0), a);
    for (int outside : {-1, 1})
        EXPECT_EQ(document.RecentPath(outside), "");
    // The choice comes back with its file. In the window's order, the next
    // file's opening comes before the shown file's close, which still
    // records the shown file's own choice.
    document.SetFileName({});
    document.Opening(a);
    EXPECT_EQ(document.CodingChoice(), TFileEncoding::Cp949);
    document.SetFileName(a);
    document.SetCodingChoice(TFileEncoding::EucJp);
    document.Opening(b);
    EXPECT_EQ(document.CodingChoice(), TCodingChoice());
    document.Close(7);
    EXPECT_EQ(document.RecentFiles().back(), a + "=7,EUC-JP");
    document.ClearRecentFiles();
    EXPECT_EQ(document.SavedTopIndex(a), 0);
}

// Every bookmark, at every row, against a plain model of ten rows: a toggle
// at the row it holds clears it, at any other row moves it there, and no
// toggle touches another mark; numbers outside 0 to 9 name nothing.
TEST(BookmarkSet, TogglesMoveAndClearOnlyTheirOwnMark) {
    TBookmarkSet set;
    TBookmarks model;
    model.fill(-1);
    const int rows[] = {0, 7, 7, 3, 0, 0, 12};
    for (int row : rows) {
        for (int n = -1; n <= BookmarkCount; ++n) {
            set.Toggle(n, row);
            if (n >= 0 && n < BookmarkCount)
                model[size_t(n)] = model[size_t(n)] == row ? -1 : row;
            ASSERT_EQ(set.Rows(), model) << n << " " << row;
            bool any = false;
            for (int m = 0; m < BookmarkCount; ++m) {
                EXPECT_EQ(set.IsSet(m), model[size_t(m)] != -1);
                any = any || model[size_t(m)] != -1;
            }
            EXPECT_EQ(set.Any(), any);
            EXPECT_EQ(set.Row(n), n >= 0 && n < BookmarkCount ? model[size_t(n)] : -1);
        }
    }
}

} // namespace
} // namespace ov
