#include "Ovsynlangstyle.h"

#include "Errors.h"
#include "Files.h"
#include "Hexdigits.h"
#include "Keylines.h"
#include "Ovstrings.h"

#include <cstdio>
#include <vector>

namespace ov {

namespace {

const char* const FixedStyleNames[FixedStyleCount] = {"Normal",  "Number",  "Comment",  "String1",
                                                      "String2", "LineNum", "HTMLValue"};

// The integer conversion of "0x" + pair: one or two hexadecimal digits.
unsigned HexPair(std::string_view pair) {
    unsigned value = 0;
    for (char c : pair) {
        int digit = HexDigitValue(c);
        if (digit < 0) {
            value = 256;
            break;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    if (pair.empty() || value > 255)
        throw EConvertError("'0x" + std::string(pair) + "' is not a valid integer value");
    return value;
}

bool IsBlank(char c) {
    return c >= 1 && c <= ' ';
}

// Comma text: fields separated by a comma and/or blanks, leading blanks
// skipped, a field in double quotes runs to its closing quote (a doubled
// quote stands for one), a comma at the very end adds an empty field.
std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t p = 0;
    auto skipBlanks = [&] {
        while (p < text.size() && IsBlank(text[p]))
            ++p;
    };
    skipBlanks();
    while (p < text.size()) {
        std::string field;
        if (text[p] == '"') {
            ++p;
            while (p < text.size()) {
                if (text[p] == '"') {
                    if (p + 1 < text.size() && text[p + 1] == '"') {
                        field.push_back('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field.push_back(text[p++]);
            }
        } else {
            std::size_t start = p;
            while (p < text.size() && !IsBlank(text[p]) && text[p] != ',' && text[p] != '\0')
                ++p;
            field.assign(text.substr(start, p - start));
        }
        fields.push_back(std::move(field));
        skipBlanks();
        if (p < text.size() && text[p] == ',') {
            if (p + 1 == text.size())
                fields.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return fields;
}

} // namespace

const char* FixedStyleName(int styleIndex) {
    if (styleIndex < 0 || styleIndex >= FixedStyleCount)
        return nullptr;
    return FixedStyleNames[styleIndex];
}

std::string StyleKey(int styleIndex) {
    if (styleIndex < FixedStyleCount)
        return FixedStyleNames[styleIndex];
    return "Item" + std::to_string(styleIndex - FixedStyleCount);
}

TColor HexCodeToColor(std::string_view code) {
    auto pair = [&](std::size_t start) {
        return start < code.size() ? code.substr(start, 2) : std::string_view();
    };
    unsigned red = HexPair(pair(1));
    unsigned green = HexPair(pair(3));
    unsigned blue = HexPair(pair(5));
    return RGBColor(red, green, blue);
}

std::string ColorToHexCode(TColor color) {
    char text[8];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return text;
}

void TOVSynLangStyle::Init() {
    for (TStyleColors& colors : Colors)
        colors = TStyleColors{};
}

void TOVSynLangStyle::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName))
        return;
    TOVStringList lines;
    lines.LoadFromFile(ResolveFileCase(fileName));
    Init();
    TKeyLines keys(lines);
    for (int i = 0; i < StyleCount; ++i) {
        std::vector<std::string> fields = SplitCommaText(keys.Value(StyleKey(i)));
        if (!fields.empty() && !fields[0].empty() && fields[0][0] == '#')
            Colors[i].Fore = HexCodeToColor(fields[0]);
        if (fields.size() >= 2 && !fields[1].empty() && fields[1][0] == '#')
            Colors[i].Back = HexCodeToColor(fields[1]);
        else
            Colors[i].Back = Colors[0].Back;
    }
}

bool TOVSynLangStyle::SaveToFile(const std::string& fileName) const {
    std::string text;
    for (int i = 0; i < StyleCount; ++i) {
        text += StyleKey(i) + "=" + ColorToHexCode(Colors[i].Fore);
        if (i == 0 || Colors[i].Back != Colors[0].Back)
            text += "," + ColorToHexCode(Colors[i].Back);
        text += "\r\n";
    }
    return WriteFileAtomically(fileName, text).Ok();
}

} // namespace ov
