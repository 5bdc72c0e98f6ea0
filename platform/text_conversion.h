#pragma once
// The engine and the store hold text as UTF-8 std::string with CR LF line breaks; Qt holds
// QString, and its text boxes use LF.

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvex::platform {

QString toQString(std::string_view utf8);
std::string toUtf8(const QString& text);

/// Text for a text box: CR LF and lone CR become LF.
QString toDisplayText(std::string_view utf8);
/// Text from a text box for the engine, the clipboard or a file: every line break becomes CR LF.
std::string fromDisplayText(const QString& text);

/// A file-system path from a QString, and back, in the file system's own encoding.
std::filesystem::path toPath(const QString& path);
QString fromPath(const std::filesystem::path& path);

}  // namespace korvex::platform
