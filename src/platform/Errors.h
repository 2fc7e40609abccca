#pragma once
// The program's exceptions. Every error that reaches the user carries its
// message text (UTF-8); the application object shows it and goes on.

#include <stdexcept>
#include <string>

namespace ov {

class EOVError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside the valid range of a list or definition.
class ERangeError : public EOVError {
public:
    ERangeError(const std::string& message, std::string label, int index)
        : EOVError(message), FLabel(std::move(label)), FIndex(index) {}
    const std::string& Label() const { return FLabel; }
    int Index() const { return FIndex; }

private:
    std::string FLabel;
    int FIndex;
};

class EOutOfMemory : public EOVError {
public:
    EOutOfMemory();
};

// A source that cannot be assigned to a target ("Cannot assign a %s to a %s").
class EConvertError : public EOVError {
public:
    using EOVError::EOVError;
};

// The range-error message for label and index: message 1500 formatted in the
// code page into a 128-byte buffer, so at most 127 bytes survive (a double-byte
// character cut in half at the end is dropped), returned as UTF-8.
std::string RangeErrorMessage(const std::string& label, int index);

[[noreturn]] void ThrowRangeError(const std::string& label, int index);
[[noreturn]] void ThrowOutOfMemory();

} // namespace ov
