#include "Errors.h"

#include "Codepage.h"
#include "Messages.h"

#include <gtest/gtest.h>

using namespace ov;

TEST(Errors, RangeErrorFillsLabelAndIndex) {
    try {
        ThrowRangeError("TOVStringList.Get", 5);
        FAIL();
    } catch (const ERangeError& error) {
        EXPECT_STREQ(error.what(), "TOVStringList.Get:범위를 벗어 난 인덱스 참조(5)");
        EXPECT_EQ(error.Index(), 5);
    }
}

TEST(Errors, RangeErrorIsCutToTheBufferWithoutSplittingACharacter) {
    std::string label(120, 'L');
    std::string message = RangeErrorMessage(label, -1);
    std::string ansi = AnsiFromUtf8(message);
    EXPECT_LE(ansi.size(), 127u);
    EXPECT_GE(ansi.size(), 126u);
    EXPECT_EQ(ansi.substr(0, 121), label + ":");
    EXPECT_EQ(AnsiFromUtf8(Utf8FromAnsi(ansi)), ansi); // no half character at the end
}

TEST(Errors, OutOfMemoryCarriesItsMessage) {
    EXPECT_STREQ(EOutOfMemory().what(), "메모리가 부족합니다!!");
    EXPECT_STREQ(LoadStr(SLargeFileQuestion),
                 "열려고 하는 파일이 매우 큽니다.\n정말로 이 파일을 여시겠습니까?");
    EXPECT_STREQ(LoadStr(9999), "");
}
