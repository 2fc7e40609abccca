#include "Putbmpfont.h"

#include "Files.h"
#include "Hangulsets.h"
#include "Uiservices.h"

#include <algorithm>
#include <cstring>

namespace ov {

namespace {

using namespace hangul;

constexpr int GlyphBytes = 32;    // 16 x 16
constexpr int EngGlyphBytes = 16; // 8 x 16
constexpr int SpcCount = 1128;
constexpr int SpcShortCount = 1053;
constexpr int HanjaCount = 4888;
constexpr int HanFullSize =
    (InitialSets * InitialCount + MedialSets * MedialCount + FinalSets * FinalCount) * GlyphBytes;
constexpr int HanShortSize = (InitialSets * (InitialCount - 1) + MedialSets * (MedialCount - 1) +
                              FinalSets * (FinalCount - 1)) *
                             GlyphBytes;
static_assert(HanFullSize == 11520 && HanShortSize == 11008);

// The process-wide glyph tables, in file layout. Solid until loaded.
struct TGlyphTables {
    TBmpGlyph HanInitial[InitialSets][InitialCount];
    TBmpGlyph HanMedial[MedialSets][MedialCount];
    TBmpGlyph HanFinal[FinalSets][FinalCount];
    uint8_t EngGlyphs[256][EngGlyphBytes];
    TBmpGlyph KsgGlyphs[256];
    TBmpGlyph SpcGlyphs[SpcCount];
    TBmpGlyph HanjaGlyphs[HanjaCount];
};

TGlyphTables& Tables() {
    static TGlyphTables* tables = [] {
        auto* t = new TGlyphTables;
        std::memset(t, 0xFF, sizeof(TGlyphTables));
        return t;
    }();
    return *tables;
}

// Reads at most limit bytes of a font file (found without regard to case) and
// tells its whole size, so that an oversized file is neither read in full nor
// written beyond a table. A file that shrinks while it is read reports the
// bytes read as its size, so no loader takes it for a form longer than the
// data. Only regular files are opened (a pipe could block); the file is only
// ever read.
bool ReadFontFile(const std::string& path, size_t limit, std::string& data, int64_t& size) {
    TReadOnlyFile file;
    if (!FileExists(path) || !file.Open(ResolveFileCase(path)))
        return false;
    size = file.Size();
    if (size < 0)
        return false;
    data.resize(std::min(static_cast<size_t>(size), limit));
    const int64_t read = file.ReadAt(0, data.data(), static_cast<int64_t>(data.size()));
    if (read < 0)
        return false;
    if (read < static_cast<int64_t>(data.size()))
        size = read;
    data.resize(static_cast<size_t>(read));
    return true;
}

// Copies the start of a font file into a table, never more than the table
// holds; the table's other bytes keep what they held. size as for
// ReadFontFile.
bool ReadIntoTable(const std::string& path, void* table, size_t tableBytes, int64_t& size) {
    std::string data;
    if (!ReadFontFile(path, tableBytes, data, size))
        return false;
    std::memcpy(table, data.data(), data.size());
    return true;
}

template <int Sets, int Count>
const char* CopyHanSets(TBmpGlyph (&table)[Sets][Count], const char* p, bool shortForm) {
    for (int s = 0; s < Sets; ++s) {
        int first = 0;
        if (shortForm) {
            table[s][0].fill(0);
            first = 1;
        }
        for (int g = first; g < Count; ++g, p += GlyphBytes)
            std::memcpy(table[s][g].data(), p, GlyphBytes);
    }
    return p;
}

int TrailPosition(uint8_t trail) {
    if (trail >= 0x31 && trail <= 0x7E)
        return trail - 0x31;
    if (trail >= 0x91 && trail <= 0xFE)
        return trail - 0x43;
    return -1;
}

void OrInto(TBmpGlyph& glyph, const TBmpGlyph& part) {
    for (int k = 0; k < GlyphBytes; ++k)
        glyph[k] |= part[k];
}

} // namespace

bool LoadFonts(const std::string& folder, const std::string& han, const std::string& eng,
               const std::string& ksg, const std::string& spc, const std::string& hanja) {
    if (FileExists(folder + han))
        LoadHanFont(folder + han);
    if (FileExists(folder + eng))
        LoadEngFont(folder + eng);
    if (FileExists(folder + ksg))
        LoadKsgFont(folder + ksg);
    if (FileExists(folder + spc))
        LoadSpcFont(folder + spc);
    LoadHanjaFont(folder + hanja);
    return true;
}

bool LoadHanFont(const std::string& path) {
    std::string data;
    int64_t size = 0;
    if (!ReadFontFile(path, HanFullSize, data, size))
        return false;
    if ((size != HanFullSize && size != HanShortSize) || data.size() != static_cast<size_t>(size)) {
        // The message names the file: the user has to find which one to replace.
        UIServices().ShowMessage("Invalid Font File\n" + ResolveFileCase(path), "Font Loading Error",
                                 TMessageIcon::Warning);
        return false;
    }
    const bool shortForm = data.size() == HanShortSize;
    TGlyphTables& t = Tables();
    const char* p = data.data();
    p = CopyHanSets(t.HanInitial, p, shortForm);
    p = CopyHanSets(t.HanMedial, p, shortForm);
    CopyHanSets(t.HanFinal, p, shortForm);
    return true;
}

bool LoadEngFont(const std::string& path) {
    int64_t size = 0;
    return ReadIntoTable(path, Tables().EngGlyphs, sizeof(TGlyphTables::EngGlyphs), size);
}

bool LoadKsgFont(const std::string& path) {
    int64_t size = 0;
    return ReadIntoTable(path, Tables().KsgGlyphs, sizeof(TGlyphTables::KsgGlyphs), size);
}

// The short form lacks the 25 glyphs that end the first symbol lead (slots
// 163-187): its glyphs from 163 on belong from slot 188 on. Slots 163-187 keep
// the file's glyphs 163-187 and the last 50 slots keep what they held.
bool LoadSpcFont(const std::string& path) {
    TGlyphTables& t = Tables();
    int64_t size = 0;
    if (!ReadIntoTable(path, t.SpcGlyphs, sizeof(TGlyphTables::SpcGlyphs), size))
        return false;
    if (size == SpcShortCount * GlyphBytes) {
        constexpr int moved = SpcShortCount - 163; // 890 glyphs to slots 188-1077
        std::memmove(t.SpcGlyphs[188].data(), t.SpcGlyphs[163].data(), moved * GlyphBytes);
    }
    return true;
}

bool LoadHanjaFont(const std::string& path) {
    int64_t size = 0;
    return ReadIntoTable(path, Tables().HanjaGlyphs, sizeof(TGlyphTables::HanjaGlyphs), size);
}

void ResetBitmapFonts() {
    std::memset(&Tables(), 0xFF, sizeof(TGlyphTables));
}

TBmpGlyph ComposeHangul(uint16_t code) {
    const TParts p = PartsOf(code);
    const TGlyphTables& t = Tables();
    TBmpGlyph glyph = t.HanInitial[p.InitialSet][p.Initial];
    OrInto(glyph, t.HanMedial[p.MedialSet][p.Medial]);
    OrInto(glyph, t.HanFinal[p.FinalSet][p.Final]);
    return glyph;
}

int GetBmpGlyph(uint8_t first, uint8_t second, TBmpGlyph& glyph) {
    const TGlyphTables& t = Tables();
    if (first < 0x80) {
        glyph.fill(0);
        for (int r = 0; r < BmpCellHeight; ++r)
            glyph[r * 2] = t.EngGlyphs[first][r];
        return BmpSingleWidth;
    }
    const int j = TrailPosition(second);
    if (first == 0xD4 && second >= 0x80) {
        glyph = t.KsgGlyphs[second];
    } else if (first >= 0xD9 && first <= 0xDE) {
        const int index = (first - 0xD9) * 188 + j;
        if (j >= 0 && index < SpcCount)
            glyph = t.SpcGlyphs[index];
        else
            glyph.fill(0);
    } else if (first >= 0xE0 && first <= 0xF9) {
        const int index = (first - 0xE0) * 188 + j;
        if (j >= 0 && index < HanjaCount)
            glyph = t.HanjaGlyphs[index];
        else
            glyph.fill(0);
    } else {
        glyph = ComposeHangul(static_cast<uint16_t>(first << 8 | second));
    }
    return BmpDoubleWidth;
}

namespace {

bool IsDirect32(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

uint16_t GlyphRow(const TBmpGlyph& glyph, int row) {
    return static_cast<uint16_t>(glyph[row * 2] << 8 | glyph[row * 2 + 1]);
}

// Writes the glyph's pixels of rows [rowStart, rowEnd) and columns
// [columnStart, columnEnd) into a 32-bit image, already clipped.
void FillRows(uchar* bits, qsizetype bytesPerLine, int x, int y, int rowStart, int rowEnd,
              int columnStart, int columnEnd, const TBmpGlyph& glyph, QRgb textColor,
              QRgb backColor) {
    const QRgb colors[2] = {backColor, textColor};
    for (int r = rowStart; r < rowEnd; ++r) {
        auto* line = reinterpret_cast<QRgb*>(bits + (y + r) * bytesPerLine) + x;
        const unsigned ink = GlyphRow(glyph, r);
        for (int c = columnStart; c < columnEnd; ++c)
            line[c] = colors[(ink >> (15 - c)) & 1];
    }
}

// The same for whole rows of a cell; the fixed width lets the compiler unroll
// and vectorise the common case.
template <int Width>
void FillRows(uchar* bits, qsizetype bytesPerLine, int x, int y, int rowStart, int rowEnd,
              const TBmpGlyph& glyph, QRgb textColor, QRgb backColor) {
    for (int r = rowStart; r < rowEnd; ++r) {
        auto* line = reinterpret_cast<QRgb*>(bits + (y + r) * bytesPerLine) + x;
        const unsigned ink = GlyphRow(glyph, r);
        for (int c = 0; c < Width; ++c)
            line[c] = (ink >> (15 - c)) & 1 ? textColor : backColor;
    }
}

} // namespace

int PutBmpChar(QImage& target, int x, int y, uint8_t first, uint8_t second, QRgb textColor,
               QRgb backColor) {
    TBmpGlyph glyph;
    const int width = GetBmpGlyph(first, second, glyph);
    // Only the part of the cell inside the image is touched.
    const int columnStart = std::max(0, -x);
    const int columnEnd = std::min(width, target.width() - x);
    const int rowStart = std::max(0, -y);
    const int rowEnd = std::min(BmpCellHeight, target.height() - y);
    if (columnStart >= columnEnd || rowStart >= rowEnd)
        return width;

    if (IsDirect32(target.format())) {
        uchar* bits = target.bits();
        const qsizetype bytesPerLine = target.bytesPerLine();
        if (columnStart == 0 && columnEnd == BmpDoubleWidth)
            FillRows<BmpDoubleWidth>(bits, bytesPerLine, x, y, rowStart, rowEnd, glyph, textColor,
                                     backColor);
        else if (columnStart == 0 && columnEnd == BmpSingleWidth)
            FillRows<BmpSingleWidth>(bits, bytesPerLine, x, y, rowStart, rowEnd, glyph, textColor,
                                     backColor);
        else
            FillRows(bits, bytesPerLine, x, y, rowStart, rowEnd, columnStart, columnEnd, glyph,
                     textColor, backColor);
    } else {
        for (int r = rowStart; r < rowEnd; ++r) {
            const uint16_t ink = GlyphRow(glyph, r);
            for (int c = columnStart; c < columnEnd; ++c)
                target.setPixel(x + c, y + r, (ink << c) & 0x8000 ? textColor : backColor);
        }
    }
    return width;
}

} // namespace ov
