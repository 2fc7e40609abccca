// Writes the source file of the two code tables of src/bitmapfont/Codeconv.h.
//
//   ov_codetablegen OUTPUT.cpp
//
// The tables are derived from first principles rather than copied from a
// published mapping:
//
// KsToJohabTable, by KS X 1001 row R (lead byte) and column j = trail - 0xA1:
//   - rows 0xA1-0xAC (symbols, with the Hangul letters of row 0xA4) go to the
//     Johab symbol area: lead 0xD9 + (R - 0xA1) / 2, two KS rows per Johab
//     lead; the odd row takes trails 0xA1 + j, the even row the 94 trails
//     0x31-0x7E (j < 78) and 0x91-0xA0 (j >= 78);
//   - row 0xAD and the first 34 columns of row 0xAE are the program's own
//     128 KSG glyphs 0xD480-0xD4FF, in order;
//   - the rest of row 0xAE, rows 0xAF and 0xC9 and row 0xFE (user-defined and
//     unassigned) are 0x2020, which draws as a space;
//   - rows 0xB0-0xC8 are the 2350 Hangul syllables: the CP949 code is decoded
//     to its Unicode syllable U+AC00 + (initial * 21 + vowel) * 28 + final,
//     and the three indexes give the Johab fields (JohabOfSyllable);
//   - rows 0xCA-0xFD are the 4888 Hanja, laid out like the symbols from Johab
//     lead 0xE0 on.
// UhcToJohabTable: every syllable U+AC00-U+D7A3, in order, whose CP949 code is
// not one of the KS X 1001 syllables (that is, lies in the extension block),
// as its Johab code. The extension block is in syllable order too, so entry k
// is the k-th extension code.
//
// CP949 is decoded through the platform layer (glibc iconv).

#include "Codepage.h"
#include "Hangulsets.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

uint16_t RowRule(int rowOffset, int column, int firstLead) {
    const int lead = firstLead + rowOffset / 2;
    int trail;
    if (rowOffset % 2 == 1)
        trail = 0xA1 + column;
    else
        trail = column < 78 ? 0x31 + column : 0x91 + (column - 78);
    return static_cast<uint16_t>(lead << 8 | trail);
}

// Unicode syllable index of a KS code, or -1 when it is not a syllable.
int SyllableOfAnsi(int lead, int trail) {
    const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
    const std::u16string wide = ov::WideFromAnsi(bytes);
    if (wide.size() != 1 || wide[0] < 0xAC00 || wide[0] > 0xD7A3)
        return -1;
    return wide[0] - 0xAC00;
}

uint16_t JohabOfIndex(int syllable) {
    return ov::hangul::JohabOfSyllable(syllable / (21 * 28), syllable / 28 % 21, syllable % 28);
}

bool BuildKsTable(std::vector<uint16_t>& table) {
    for (int row = 0xA1; row <= 0xFE; ++row) {
        for (int column = 0; column < 94; ++column) {
            uint16_t code = 0x2020;
            if (row <= 0xAC) {
                code = RowRule(row - 0xA1, column, 0xD9);
            } else if (row == 0xAD) {
                code = static_cast<uint16_t>(0xD480 + column);
            } else if (row == 0xAE && column < 34) {
                code = static_cast<uint16_t>(0xD4DE + column);
            } else if (row >= 0xB0 && row <= 0xC8) {
                const int syllable = SyllableOfAnsi(row, 0xA1 + column);
                if (syllable < 0) {
                    std::fprintf(stderr, "KS %02X%02X is not a syllable\n", row, 0xA1 + column);
                    return false;
                }
                code = JohabOfIndex(syllable);
            } else if (row >= 0xCA && row <= 0xFD) {
                code = RowRule(row - 0xCA, column, 0xE0);
            }
            table.push_back(code);
        }
    }
    return true;
}

bool IsKsSyllableCode(const std::string& ansi) {
    if (ansi.size() != 2)
        return false;
    const auto lead = static_cast<unsigned char>(ansi[0]);
    const auto trail = static_cast<unsigned char>(ansi[1]);
    return lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1 && trail <= 0xFE;
}

std::vector<uint16_t> BuildUhcTable() {
    std::vector<uint16_t> table;
    for (int syllable = 0; syllable < 11172; ++syllable) {
        const std::u16string wide(1, static_cast<char16_t>(0xAC00 + syllable));
        if (!IsKsSyllableCode(ov::AnsiFromWide(wide)))
            table.push_back(JohabOfIndex(syllable));
    }
    return table;
}

void WriteTable(FILE* out, const char* name, const char* count,
                const std::vector<uint16_t>& table) {
    std::fprintf(out, "const uint16_t %s[%s] = {", name, count);
    for (size_t i = 0; i < table.size(); ++i)
        std::fprintf(out, "%s0x%04X,", i % 12 == 0 ? "\n    " : " ", table[i]);
    std::fprintf(out, "\n};\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    std::vector<uint16_t> ks;
    if (!BuildKsTable(ks))
        return 1;
    const std::vector<uint16_t> uhc = BuildUhcTable();
    if (ks.size() != 8836 || uhc.size() != 8822) {
        std::fprintf(stderr, "unexpected table sizes %zu and %zu\n", ks.size(), uhc.size());
        return 1;
    }
    FILE* out = std::fopen(argv[1], "w");
    if (!out)
        return 1;
    std::fprintf(out,
                 "// Generated by tools/fontgen/Codetablegen.cpp; do not edit. The derivation\n"
                 "// of both tables is described there.\n\n"
                 "#include \"Codeconv.h\"\n\nnamespace ov {\n\n");
    WriteTable(out, "KsToJohabTable", "KsToJohabCount", ks);
    std::fprintf(out, "\n");
    WriteTable(out, "UhcToJohabTable", "UhcToJohabCount", uhc);
    std::fprintf(out, "\n} // namespace ov\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
