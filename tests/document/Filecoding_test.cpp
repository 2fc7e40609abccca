// Encoding detection on samples of every kind, the ambiguous two-byte case
// decided both ways, and whole files loaded through LoadViewedFile.

#include "Charsets.h"
#include "Codepage.h"
#include "Filecoding.h"
#include "Ovstrings.h"
#include "Textsearch.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace ov {
namespace {

const char* const Utf8Korean = "\xED\x95\x9C\xEA\xB8\x80 \xED\x85\x8D\xEC\x8A\xA4\xED\x8A\xB8"; // 한글 텍스트

// The lines as shown (a mapped file's NUL bytes as blanks).
std::vector<std::string> Lines(const TOVStringList& list) {
    std::vector<std::string> lines;
    std::string shown;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.ShownView(i, shown));
    return lines;
}

TEST(DetectEncoding, SamplesOfEveryKind) {
    const std::string korean949 = AnsiFromUtf8("한글 텍스트 파일입니다. 가나다라마바사");
    struct TSample {
        std::string Bytes;
        TFileEncoding Expected;
    } samples[] = {
        {"plain ASCII text\n", TFileEncoding::Cp949},
        {"", TFileEncoding::Cp949},
        {Utf8Korean, TFileEncoding::Utf8},
        {"\xEF\xBB\xBF" "abc", TFileEncoding::Utf8Bom},
        {"\xEF\xBB\xBF", TFileEncoding::Utf8Bom}, // the mark alone
        {"\xFF\xFE" "a\0", TFileEncoding::Utf16Le},
        {"\xFE\xFF\0a", TFileEncoding::Utf16Be},
        {korean949, TFileEncoding::Cp949},
        {"x " + korean949 + "\n" + korean949, TFileEncoding::Cp949},
        {"emoji \xF0\x9F\x98\x80 and \xE2\x82\xAC", TFileEncoding::Utf8},
        // A sequence cut by the end of the head does not count against it.
        {std::string(Utf8Korean) + "\xED\x95", TFileEncoding::Utf8},
        // Damaged UTF-8: a stray byte among many longer sequences.
        {std::string(Utf8Korean) + "\xFF" + Utf8Korean, TFileEncoding::Utf8},
    };
    for (const TSample& sample : samples)
        EXPECT_EQ(DetectEncoding(sample.Bytes), sample.Expected) << sample.Bytes;
    // Overlong forms and encoded surrogates are not UTF-8.
    EXPECT_NE(DetectEncoding("a\xC0\xAF"), TFileEncoding::Utf8);
    EXPECT_NE(DetectEncoding("a\xED\xA0\x80"), TFileEncoding::Utf8);
}

// Korean phrases whose CP949 bytes happen to be well-formed UTF-8 (every
// syllable with lead C2-C8 and trail A1-BF) stay CP949; Latin words with
// accented letters, which are well-formed UTF-8 made of two-byte sequences
// only, are UTF-8.
TEST(DetectEncoding, AmbiguousTwoByteTextDecidedBothWays) {
    std::vector<std::string> syllables;
    for (int lead = 0xC2; lead <= 0xC8; ++lead)
        for (int trail = 0xA1; trail <= 0xBF; ++trail)
            syllables.push_back({char(lead), char(trail)});
    std::mt19937 random(2026);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const char* const separators[] = {" ", ", ", ". ", "\n", " 1 ", "? "};
    for (int phrase = 0; phrase < 500; ++phrase) {
        std::string text;
        const std::size_t words = 1 + pick(8);
        for (std::size_t w = 0; w < words; ++w) {
            if (w > 0)
                text += separators[pick(std::size(separators))];
            for (std::size_t s = 1 + pick(3); s > 0; --s)
                text += syllables[pick(syllables.size())];
        }
        ASSERT_TRUE(IsWellFormedUtf8(text, false));
        EXPECT_EQ(DetectEncoding(text), TFileEncoding::Cp949) << Utf8FromAnsi(text);
    }
    for (const char* latin : {"caf\xC3\xA9", "na\xC3\xAFve r\xC3\xA9sum\xC3\xA9", "Z\xC3\xBCrich",
                              "S\xC3\xA3o Paulo", "\xC3\x85ngstr\xC3\xB6m", "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e",
                              "fa\xC3\xA7" "ade", "El Ni\xC3\xB1o", "25\xC2\xB0" "C", "\xC5\x81\xC3\xB3" "d\xC5\xBA",
                              "Stra\xC3\x9F" "e", "\xCE\xB1\xCE\xB2\xCE\xB3 \xCE\xB4"}) {
        ASSERT_TRUE(IsWellFormedUtf8(latin, false));
        EXPECT_EQ(DetectEncoding(latin), TFileEncoding::Utf8) << latin;
    }
}

class LoadViewedFile : public ::testing::Test {
protected:
    std::optional<TFileEncoding> Load(const std::string& bytes,
                                      TCodingChoice choice = TCodingChoice()) {
        return List.LoadViewedFile(Folder.Write("file.txt", bytes), choice);
    }
    test::TTempFolder Folder;
    TOVSynStringList List;
};

TEST_F(LoadViewedFile, Utf8KeepsItsBytesAndLosesOnlyTheMark) {
    const std::string text = std::string(Utf8Korean) + "\r\n\xF0\x9F\x98\x80 caf\xC3\xA9\rend";
    const std::vector<std::string> expected = {Utf8Korean, "\xF0\x9F\x98\x80 caf\xC3\xA9", "end"};
    EXPECT_EQ(Load(text), TFileEncoding::Utf8);
    EXPECT_EQ(List.Coding(), TTextCoding::Utf8);
    EXPECT_EQ(Lines(List), expected);
    EXPECT_EQ(Load("\xEF\xBB\xBF" + text), TFileEncoding::Utf8Bom);
    EXPECT_EQ(Lines(List), expected);
    EXPECT_EQ(Load("\xEF\xBB\xBF"), TFileEncoding::Utf8Bom);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(LoadViewedFile, Utf16OfBothOrdersBecomesUtf8WithoutLoss) {
    // 한 A U+1F600 (a surrogate pair), CR LF, é, a lone high surrogate, NUL.
    const char16_t raw[] = u"\uD55C A \U0001F600\r\n\u00E9\xD800x\0y";
    const std::u16string units(raw, std::size(raw) - 1);
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char16_t unit : units) {
        little += {char(unit & 0xFF), char(unit >> 8)};
        big += {char(unit >> 8), char(unit & 0xFF)};
    }
    const std::vector<std::string> expected = {"\xED\x95\x9C A \xF0\x9F\x98\x80",
                                               "\xC3\xA9\xEF\xBF\xBDx y"};
    EXPECT_EQ(Load(little), TFileEncoding::Utf16Le);
    EXPECT_EQ(List.Coding(), TTextCoding::Utf8);
    EXPECT_EQ(Lines(List), expected);
    EXPECT_EQ(Load(big), TFileEncoding::Utf16Be);
    EXPECT_EQ(Lines(List), expected);
    // An odd last byte is shown, not dropped; a mark alone is an empty text.
    EXPECT_EQ(Load(big + "Z"), TFileEncoding::Utf16Be);
    EXPECT_EQ(Lines(List).back(), expected.back() + "\xEF\xBF\xBD");
    EXPECT_EQ(Load("\xFE\xFF"), TFileEncoding::Utf16Be);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(LoadViewedFile, Cp949TextLoadsExactlyAsLoadFromFile) {
    const std::string text = AnsiFromUtf8("한글 텍스트\r\n둘째 줄\n") + std::string("a\0b\n\xC7", 5);
    TOVSynStringList reference;
    reference.LoadFromFile(Folder.Write("reference.txt", text));
    EXPECT_EQ(Load(text), TFileEncoding::Cp949);
    EXPECT_EQ(List.Coding(), TTextCoding::Cp949);
    EXPECT_EQ(Lines(List), Lines(reference));
}

TEST_F(LoadViewedFile, TheChoiceImposesAReadingOnEightBitText) {
    const std::string korean949 = AnsiFromUtf8("한글");
    EXPECT_EQ(Load(Utf8Korean, TFileEncoding::Cp949), TFileEncoding::Cp949);
    EXPECT_EQ(List.Coding(), TTextCoding::Cp949);
    EXPECT_EQ(Lines(List), std::vector<std::string>{Utf8Korean});
    EXPECT_EQ(Load(korean949, TFileEncoding::Utf8), TFileEncoding::Utf8);
    EXPECT_EQ(List.Coding(), TTextCoding::Utf8);
    EXPECT_EQ(Lines(List), std::vector<std::string>{korean949});
    // A UTF-16 mark always wins: its text is never 8-bit.
    EXPECT_EQ(Load(std::string("\xFF\xFE" "a\0", 4), TFileEncoding::Cp949), TFileEncoding::Utf16Le);
    EXPECT_EQ(Lines(List), std::vector<std::string>{"a"});
}

// Only the first megabyte decides; bytes after it that are not UTF-8 stay
// in their lines, and no line is lost.
TEST_F(LoadViewedFile, Utf8HeadWithInvalidBytesLaterKeepsEveryLine) {
    std::string text;
    int lines = 0;
    while (text.size() < DetectionBytes + 100) {
        text += std::string(Utf8Korean) + " " + std::to_string(lines++) + "\n";
    }
    text += "\xC7\xD1\xFF\xC0\xAF\xED\xA0\x80 tail\nlast";
    EXPECT_EQ(Load(text), TFileEncoding::Utf8);
    ASSERT_EQ(List.Count(), lines + 2);
    EXPECT_EQ(List.GetView(lines), "\xC7\xD1\xFF\xC0\xAF\xED\xA0\x80 tail");
    EXPECT_EQ(List.CharCoding().ToUtf8(List.GetView(lines)),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
              "\xEF\xBF\xBD tail");
    EXPECT_EQ(List.GetView(lines + 1), "last");
}

// Every encoding that is converted when loaded: a file made with iconv from
// realistic text in its language is detected (or, where the detector cannot
// tell it from a neighbour, read alike by what it detects), shown line for
// line as the original, found by a word of it and copied back as the
// original.
TEST_F(LoadViewedFile, EveryEncodingShownFoundAndCopiedAsItsOriginal) {
    const std::string japanese =
        "ログファイルを開きました。エラーは見つかりませんでした。\n"
        "東京都の天気は晴れです。明日は雨が降るかもしれません。\n"
        "設定ファイルの読み込みに失敗しました。管理者に連絡してください。\n";
    const std::string simplified =
        "服务器启动成功，正在监听端口八零八零。\n"
        "数据库连接已经建立，用户登录完成，请检查日志文件。\n"
        "配置文件读取失败，请联系系统管理员处理这个问题。\n";
    const std::string traditional =
        "伺服器啟動成功，正在監聽連接埠八零八零。\n"
        "資料庫連線已經建立，使用者登入完成，請檢查記錄檔。\n"
        "設定檔讀取失敗，請聯絡系統管理員處理這個問題。\n";
    const std::string western =
        "Le café est très chaud, mais où est la gare? Il a déjà réservé l'hôtel.\n"
        "Größe und Übermaß: die Bücher liegen im Büro in München.\n"
        "El niño comió piña en la montaña. Ça coûte cher à Noël.\n";
    const std::string central =
        "Zażółć gęślą jaźń. Pchnąć w tę łódź jeża lub ośm skrzyń fig.\n"
        "Příliš žluťoučký kůň úpěl ďábelské ódy. Dobrý den, jak se máte?\n"
        "Árvíztűrő tükörfúrógép. Kérem, zárja be az ajtót.\n";
    const std::string russian =
        "Съешь же ещё этих мягких французских булок, да выпей чаю.\n"
        "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.\n"
        "Файл журнала открыт, ошибок не найдено. Сервер работает нормально.\n";
    const std::string ukrainian =
        "Чуєш їх, доцю, га? Кумедна ж ти, прощайся без ґольфів!\n"
        "Жебракують філософи при ґанку церкви в Гадячі, ще й шатро їхнє п'яне знаємо.\n"
        "Файл журналу відкрито, помилок не знайдено. Сервер працює нормально.\n";
    const std::string greek =
        "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία. Το αρχείο καταγραφής άνοιξε χωρίς σφάλματα.\n"
        "Ο διακομιστής λειτουργεί κανονικά και η σύνδεση με τη βάση δεδομένων είναι ενεργή.\n";
    const std::string turkish =
        "Pijamalı hasta yağız şoföre çabucak güvendi. Dosya açıldı, hata bulunamadı.\n"
        "Sunucu düzgün çalışıyor ve veritabanı bağlantısı kuruldu. Günlük dosyasını kontrol edin.\n";
    const std::string hebrew =
        "הקובץ נפתח בהצלחה ללא שגיאות. השרת פועל כרגיל והחיבור למסד הנתונים פעיל.\n"
        "דג סקרן שט בים מאוכזב ולפתע מצא חברה. נא לבדוק את קובץ היומן.\n";
    const std::string arabic =
        "تم فتح الملف بنجاح دون أخطاء. الخادم يعمل بشكل طبيعي والاتصال بقاعدة البيانات نشط.\n"
        "نص حكيم له سر قاطع وذو شأن عظيم مكتوب على ثوب أخضر ومغلف بجلد أزرق.\n";
    const std::string baltic =
        "Įlinkdama fechtuotojo špaga sublykčiojusi pragręžė apvalų arbūzą.\n"
        "Glāžšķūņa rūķīši dzērumā čiepj Baha koncertflīģeļu vākus.\n";
    const std::string vietnamese =
        "Tôi có thể ăn thủy tinh mà không hại gì. Tập tin đã được mở thành công.\n"
        "Máy chủ đang hoạt động bình thường và kết nối cơ sở dữ liệu đã sẵn sàng.\n";
    const std::string unicode = "한글 텍스트 파일입니다. 日本語 Ελληνικά \U0001F600\n둘째 줄\n";
    struct TCase {
        TFileEncoding Encoding;
        const char* MadeAs; // iconv's name for making the file
        const std::string& Text;
        const char* Word;   // found on the second line
        bool Detected;      // the detector tells it, or a neighbour that reads it alike
        std::string Mark = {};
    } cases[] = {
        {TFileEncoding::EucJp, "EUC-JP", japanese, "晴れ", true},
        {TFileEncoding::ShiftJis, "SHIFT_JIS", japanese, "晴れ", true},
        {TFileEncoding::Gb18030, "GB18030", simplified, "用户登录", true},
        {TFileEncoding::Big5, "BIG5", traditional, "使用者", true},
        {TFileEncoding::Iso8859_1, "ISO-8859-1", western, "Übermaß", true},
        {TFileEncoding::Iso8859_15, "ISO-8859-15", western, "Übermaß", true},
        {TFileEncoding::Windows1252, "CP1252", western + "Prix: 20 € “net”\n", "Übermaß", true},
        {TFileEncoding::Iso8859_2, "ISO-8859-2", central, "žluťoučký", true},
        {TFileEncoding::Windows1250, "CP1250", central, "žluťoučký", true},
        {TFileEncoding::Iso8859_5, "ISO-8859-5", russian, "электрификация", true},
        {TFileEncoding::Windows1251, "CP1251", russian, "электрификация", true},
        {TFileEncoding::Koi8R, "KOI8-R", russian, "электрификация", true},
        {TFileEncoding::Koi8U, "KOI8-U", ukrainian, "філософи", true},
        {TFileEncoding::Iso8859_7, "ISO-8859-7", greek, "διακομιστής", true},
        {TFileEncoding::Windows1253, "CP1253", greek, "διακομιστής", true},
        {TFileEncoding::Iso8859_9, "ISO-8859-9", turkish, "çalışıyor", true},
        {TFileEncoding::Windows1254, "CP1254", turkish, "çalışıyor", true},
        {TFileEncoding::Windows1255, "CP1255", hebrew, "חברה", true},
        {TFileEncoding::Windows1256, "CP1256", arabic, "حكيم", true},
        {TFileEncoding::Windows1257, "CP1257", baltic, "koncertflīģeļu", true},
        {TFileEncoding::Windows1258, "CP1258", vietnamese, "bình thường", true},
        {TFileEncoding::Utf32Le, "UTF-32LE", unicode, "줄", true},
        {TFileEncoding::Utf32Be, "UTF-32BE", unicode, "줄", true},
        {TFileEncoding::Utf32Le, "UTF-32LE", unicode, "줄", true, std::string("\xFF\xFE\0\0", 4)},
        {TFileEncoding::Utf32Be, "UTF-32BE", unicode, "줄", true, std::string("\0\0\xFE\xFF", 4)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(EncodingName(c.Encoding) + std::string(c.Mark.empty() ? "" : " with a mark"));
        const std::optional<std::string> made = ConvertCharset(c.Text, "UTF-8", c.MadeAs);
        ASSERT_TRUE(made);
        const std::string bytes = c.Mark + *made;
        std::vector<std::string> original;
        for (std::size_t p = 0; p < c.Text.size();) {
            const std::size_t end = c.Text.find('\n', p);
            original.push_back(c.Text.substr(p, end - p));
            p = end + 1;
        }

        const TFileEncoding detected = DetectEncoding(bytes);
        if (c.Detected) {
            EXPECT_TRUE(EncodingInfo(detected).Charset) << EncodingName(detected);
            if (EncodingInfo(detected).Charset) {
                EXPECT_EQ(Utf8FromCharset(bytes.substr(ByteOrderMarkAt(bytes)),
                                          EncodingInfo(detected).Charset),
                          c.Text)
                    << EncodingName(detected);
            }
        }
        if (bytes.find('\0') != std::string::npos) { // not taken for binary
            EXPECT_TRUE(LooksLikeText(bytes.substr(0, 128)));
        }

        ASSERT_EQ(Load(bytes, c.Encoding), c.Encoding);
        ASSERT_EQ(List.Coding(), TTextCoding::Utf8);
        EXPECT_EQ(Lines(List), original);
        std::string copied;
        for (int i = 0; i < List.Count(); ++i)
            copied += List.CharCoding().ToUtf8(List.GetView(i)) + "\n";
        EXPECT_EQ(copied, c.Text);
        const TTextSearch search(c.Word, true, false, List.CharCoding());
        const TSearchMatch match = search.Search(List, 0, 0, List.Count() - 1, TSearchDirection::Forward);
        EXPECT_EQ(match.Line, 1);
        EXPECT_EQ(match.Column, int(original[1].find(c.Word)));

        // Read in pieces of 7 bytes, which cut characters, the rest by a
        // worker held before it begins: the first part is shown, the rest
        // comes as the same lines as at once; a load replaced or a list
        // destroyed while its worker is held leaves nothing of it behind.
        const std::string path = Folder.Write("pieces.txt", bytes);
        auto gate = std::make_shared<TWorkerGate>();
        TLoadPolicy policy;
        policy.FirstPartBytes = 7;
        policy.Gate = gate;
        gate->Hold();
        TOVSynStringList pieces;
        pieces.SetLoadPolicy(policy);
        ASSERT_EQ(pieces.LoadViewedFile(path, c.Encoding), c.Encoding);
        EXPECT_TRUE(pieces.Loading());
        EXPECT_LT(pieces.Count(), int(original.size()));
        EXPECT_FALSE(pieces.TakeLoadedLines());
        ASSERT_TRUE(pieces.LoadViewedFile(Folder.Write("other.txt", "one\ntwo")));
        EXPECT_FALSE(pieces.Loading());
        EXPECT_EQ(Lines(pieces), (std::vector<std::string>{"one", "two"}));
        {
            TOVSynStringList doomed;
            doomed.SetLoadPolicy(policy);
            ASSERT_TRUE(doomed.LoadViewedFile(path, c.Encoding));
            EXPECT_TRUE(doomed.Loading());
        }
        ASSERT_EQ(pieces.LoadViewedFile(path, c.Encoding), c.Encoding);
        gate->Release();
        while (pieces.Loading())
            pieces.TakeLoadedLines();
        EXPECT_EQ(Lines(pieces), original);
        // The lines are the list's own once all have come, and every change
        // works on them as on any list.
        const int last = pieces.Count() - 1;
        EXPECT_EQ(pieces.GetObject(last), 0);
        pieces.SetObject(last, 7);
        EXPECT_EQ(pieces.GetObject(0), 0);
        pieces.Set(0, "owned");
        pieces.Insert(1, "inserted");
        pieces.AddObject("added", 9);
        EXPECT_EQ(pieces.GetView(0), "owned");
        EXPECT_EQ(pieces.GetView(1), "inserted");
        EXPECT_EQ(pieces.GetObject(last + 1), 7);
        EXPECT_EQ(pieces.GetObject(last + 2), 9);
        EXPECT_EQ(pieces.GetView(last + 2), "added");
    }
}

// Bytes that do not decode are each shown as U+FFFD, never dropped, also
// where a piece of the file ends in the middle of a character.
TEST_F(LoadViewedFile, UndecodableBytesShowAsReplacementCharacters) {
    EXPECT_EQ(Load("ok \x81\xFF x\n\x82", TFileEncoding::ShiftJis), TFileEncoding::ShiftJis);
    EXPECT_EQ(Lines(List), (std::vector<std::string>{"ok \xEF\xBF\xBD\xEF\xBF\xBD x", "\xEF\xBF\xBD"}));
    EXPECT_EQ(Load(std::string("A\0\0\0\0\0\x11\0B\0\0", 11), TFileEncoding::Utf32Le), TFileEncoding::Utf32Le);
    EXPECT_EQ(Lines(List), std::vector<std::string>{"A\xEF\xBF\xBD\xEF\xBF\xBD"});
    // Whatever the bytes, the converted text stays within the bound the
    // memory check takes, which for most encodings is more than the file.
    std::mt19937 random(25);
    std::string noise(4099, '\0');
    for (char& byte : noise)
        byte = char(random());
    int larger = 0;
    for (const TEncodingInfo& info : AllEncodings()) {
        if (!info.Charset)
            continue;
        const std::int64_t converted = std::int64_t(Utf8FromCharset(noise, info.Charset).size());
        EXPECT_LE(converted, ConvertedBytesBound(info.Encoding, std::int64_t(noise.size()))) << info.Name;
        larger += converted > std::int64_t(noise.size());
    }
    EXPECT_GT(larger, 20);
}

TEST(LooksLikeText, TextWithoutBlanksAndBinaryBytes) {
    EXPECT_TRUE(LooksLikeText("1.2.3"));
    EXPECT_TRUE(LooksLikeText(AnsiFromUtf8("한글로만이루어진긴줄한글로만이루어진긴줄")));
    EXPECT_TRUE(LooksLikeText(std::string(Utf8Korean) + "\t\x1B[1m\f\r\n"));
    EXPECT_FALSE(LooksLikeText(std::string("ab\0cd", 5)));
    EXPECT_FALSE(LooksLikeText("ab\x01" "cd"));
    EXPECT_FALSE(LooksLikeText("\x80\x80\x80\x80"));
}

} // namespace
} // namespace ov
