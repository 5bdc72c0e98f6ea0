#pragma once
// Exports of the generated text into the application's Exported folder: the content builders
// are pure functions over the title and the text, the writer puts their bytes on disk.

#include <filesystem>
#include <string>
#include <string_view>

#include "store/app_folder.h"
#include "store/outcome.h"
#include "store/text_codec.h"

namespace korvex::ui {

enum class ExportKind {
    HtmlCode,  ///< the HTML page saved as "<title>_html.txt", for pasting the code elsewhere
    WebPage,   ///< the same page as "<title>.html", opened in the browser
    TextFile,  ///< the text as "<title>.txt"
};

/// The file name used when the title leaves nothing a file name may hold.
inline constexpr std::string_view kUntitledExport = "Untitled";

/// `text` on one line: every CR LF, then every lone CR, then every lone LF becomes "<br />".
std::string htmlBody(std::string_view text);

/// The twelve lines of the HTML exports in UTF-8, each ended by CR LF. Title and text go in
/// unescaped, so a text may carry its own markup; `charset` is the encoding named in the page.
std::string htmlPage(std::string_view title, std::string_view text, std::string_view charset);

/// The bytes of an export file, and the encoding they are in.
struct ExportBytes {
    std::string bytes;
    store::Encoding encoding = store::Encoding::Windows1252;
};

/// The bytes of export `kind` of `text` (UTF-8, CR LF line breaks) under `title`: windows-1252
/// when the content fits and would not read back as UTF-8, otherwise UTF-8. The HTML page
/// names the encoding it is written in.
ExportBytes exportBytes(ExportKind kind, std::string_view title, std::string_view text);

/// The file name of export `kind`: the title without the characters a project name may not
/// hold (a jump can make the title any script text, and no export may land outside the
/// folder), kUntitledExport when none are left, and the kind's ending.
std::string exportFileName(ExportKind kind, std::string_view title);

/// Writes export `kind` into `app`'s Exported folder, replacing a file of the same name, and
/// gives its path in `written`. The folder is never created: it belongs to the application
/// folder. Failure message: Could not write "<file>": <reason>.
store::Outcome writeExport(const store::AppFolder& app, ExportKind kind, std::string_view title,
                           std::string_view text, std::filesystem::path* written = nullptr);

}  // namespace korvex::ui
