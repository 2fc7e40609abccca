#include "Errors.h"

#include "Codepage.h"
#include "Messages.h"

namespace ov {

EOutOfMemory::EOutOfMemory() : EOVError(LoadStr(SOutOfMemory)) {}

std::string RangeErrorMessage(const std::string& label, int index) {
    // Format in the code page, where the 128-byte limit applies.
    std::string format = AnsiFromUtf8(LoadStr(SRangeErrorFormat));
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            text += AnsiFromUtf8(label);
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
            text += std::to_string(index);
            ++i;
        } else {
            text += format[i];
        }
    }
    constexpr size_t Limit = 127;
    if (text.size() > Limit) {
        size_t cut = 0;
        while (cut < Limit) {
            size_t step = IsLeadByte(static_cast<unsigned char>(text[cut])) ? 2 : 1;
            if (cut + step > Limit)
                break;
            cut += step;
        }
        text.resize(cut);
    }
    return Utf8FromAnsi(text);
}

void ThrowRangeError(const std::string& label, int index) {
    throw ERangeError(RangeErrorMessage(label, index), label, index);
}

void ThrowOutOfMemory() { throw EOutOfMemory(); }

} // namespace ov
