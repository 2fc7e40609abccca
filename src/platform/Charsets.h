#pragma once
// Character sets other than the code page: conversion between any two that
// glibc iconv knows by name ("JOHAB", "CP949", "UTF-8", "SHIFT_JIS", ...),
// decoding a file's text into UTF-8 as it is read, and guessing the
// character set of a sample of text (uchardet). The program's CP949 text
// goes through Codepage.h; nothing outside this folder talks to iconv or
// uchardet.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ov {

// The whole text converted, or nullopt when a character set is unknown or the
// text has a sequence that cannot be converted.
std::optional<std::string> ConvertCharset(std::string_view text, const char* fromCharset,
                                          const char* toCharset);

// Decodes text of one character set, fed in pieces of any size, into UTF-8.
// Nothing is dropped: every unit that does not decode (a byte; four bytes
// of UTF-32) becomes one U+FFFD, and so does a sequence cut by the end of
// the text. A sequence split between two pieces is decoded whole.
class TCharsetDecoder {
public:
    // charset: an iconv name. Valid() is false when iconv does not know it.
    explicit TCharsetDecoder(const char* charset);
    ~TCharsetDecoder();
    TCharsetDecoder(const TCharsetDecoder&) = delete;
    TCharsetDecoder& operator=(const TCharsetDecoder&) = delete;

    bool Valid() const;
    // Appends the UTF-8 of data to out; a sequence left open at its end
    // waits for the next piece.
    void Feed(std::string_view data, std::string& out);
    // Ends the text: what still waits becomes U+FFFD.
    void Finish(std::string& out);

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

// The whole text decoded with TCharsetDecoder.
std::string Utf8FromCharset(std::string_view text, const char* charset);

// The character set uchardet takes sample to be, in its spelling
// ("SHIFT_JIS", "WINDOWS-1251", "ASCII", ...); empty when it has no answer.
std::string GuessCharset(std::string_view sample);

} // namespace ov
