#pragma once
// Widths of the characters of a line as the text view lays them out. The
// characters are those of the document's coding (Charcoding.h; CP949 until
// SetCoding says otherwise); a tab is drawn as TabWidth spaces. The bitmap
// fonts have fixed cells of 8 pixels; an outline font answers from the width
// cache of the platform's text drawer.

#include "Charcoding.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ov {

class TQtTextDrawer;

class TCharWidths {
public:
    virtual ~TCharWidths() = default;

    // A double-byte character; trail is 0 for a lead byte at the end of a line.
    virtual int DoubleWidth(uint8_t lead, uint8_t trail) const = 0;
    int SingleWidth(uint8_t byte) const { return FSingle[byte]; }
    // A tab as it is drawn (TabWidth spaces).
    int TabWidth() const { return FTab; }

    // A character of another coding than CP949, by its Unicode value and
    // its cells (0, 1 or 2).
    virtual int UnicodeWidth(char32_t code, int cells) const = 0;

    // The coding whose characters are measured; borrowed (the shared coding
    // objects live as long as the program).
    void SetCoding(const TCharCoding& coding) {
        FCoding = &coding;
        FMultiByte = coding.Coding() != TTextCoding::Cp949;
    }
    const TCharCoding& Coding() const { return *FCoding; }

    // Width of the character that starts at text[p] (a tab counted as drawn)
    // and its length in bytes (CP949: 2 for a lead byte, also at the end of
    // the text).
    int CharAt(std::string_view text, std::size_t p, int& length) const {
        const auto byte = static_cast<uint8_t>(text[p]);
        if (byte >= 0x80) {
            if (FMultiByte)
                return CodedCharAt(text, p, length);
            length = 2;
            const auto trail = p + 1 < text.size() ? static_cast<uint8_t>(ShownByte(text[p + 1])) : 0;
            return DoubleWidth(byte, trail);
        }
        length = 1;
        return byte == '\t' ? FTab : FSingle[byte];
    }

    // The width of the raw text with tabs measured as one tab character, as
    // the widest-line measurement takes it.
    long long RawWidth(std::string_view text) const;
    // The width of the text as drawn (tabs expanded).
    long long DrawnWidth(std::string_view text) const;
    // The quick width by which wrapping decides that a line needs no walk:
    // never below the drawn width except for a lead byte at the very end of
    // a line, which the bitmap fonts count as one cell here.
    virtual long long WrapEstimate(std::string_view text) const;

protected:
    std::array<int, 256> FSingle{};
    int FTab = 0;

private:
    int CodedCharAt(std::string_view text, std::size_t p, int& length) const;

    const TCharCoding* FCoding = &CharCodingOf(TTextCoding::Cp949);
    bool FMultiByte = false;
};

// Bitmap fonts: 8 pixels a byte, 16 a double-byte character, tabs TabWidth
// cells; a raw tab is one cell.
class TBitmapCharWidths : public TCharWidths {
public:
    explicit TBitmapCharWidths(int tabWidth);
    int DoubleWidth(uint8_t, uint8_t) const override { return 16; }
    int UnicodeWidth(char32_t, int cells) const override { return cells * 8; }
    long long WrapEstimate(std::string_view text) const override;
};

// An outline font measured by the text drawer; the drawer is borrowed and
// must outlive this object.
class TOutlineCharWidths : public TCharWidths {
public:
    TOutlineCharWidths(const TQtTextDrawer& drawer, int tabWidth);
    int DoubleWidth(uint8_t lead, uint8_t trail) const override;
    int UnicodeWidth(char32_t code, int cells) const override;

private:
    const TQtTextDrawer& FDrawer;
};

} // namespace ov
