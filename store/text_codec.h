#pragma once
// Bytes on disk, UTF-8 in memory. A file is read as UTF-8 when it is valid UTF-8 holding a
// non-ASCII byte (a byte-order mark is accepted), otherwise as windows-1252, the single-byte
// code page of the stored files. It is written as windows-1252 when every character fits and
// those bytes would not read back as UTF-8, otherwise as UTF-8, so every save reopens as the
// same text.

#include <string>
#include <string_view>
#include <vector>

namespace korvex::store {

enum class Encoding { Windows1252, Utf8 };

struct DecodedText {
    std::string text;  ///< UTF-8, byte-order mark removed
    Encoding encoding = Encoding::Windows1252;
    bool byteOrderMark = false;
};

/// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

/// Decodes file content by the rule above.
DecodedText decode(std::string_view bytes);
/// Decodes in place: ASCII and UTF-8 content is moved, not copied.
DecodedText decode(std::string&& bytes);

/// Decodes windows-1252 bytes. The five bytes the code page leaves undefined map to the C1
/// controls of the same value, so every byte survives a round trip.
std::string windows1252ToUtf8(std::string_view bytes);

/// True when every character of the UTF-8 text has a windows-1252 byte; false for bytes that
/// are not valid UTF-8.
bool fitsWindows1252(std::string_view utf8);

/// Encodes UTF-8 text for writing, so that decode() gives the same text back. `preferred` is
/// the encoding the file was read with (windows-1252 for new files); UTF-8 is used whenever
/// windows-1252 cannot hold the text or its windows-1252 bytes would read as UTF-8. A UTF-8
/// result starts with a byte-order mark when `byteOrderMark` is set, or when the text itself
/// begins with U+FEFF (which reading would otherwise take for the mark). Bytes that are not
/// valid UTF-8 are written unchanged.
std::string encode(std::string_view utf8, Encoding preferred = Encoding::Windows1252,
                   bool byteOrderMark = false, Encoding* used = nullptr);

/// Splits text into lines at CR LF, a lone CR or a lone LF. A final line break does not
/// start another line, so "a\r\n" is one line and "" is none.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace korvex::store
