#include "output/export.h"

#include "store/file_io.h"
#include "store/project_name.h"

namespace korvex::ui {
namespace {

constexpr std::string_view kBreak = "<br />";
constexpr std::string_view kCrLf = "\r\n";

}  // namespace

std::string htmlBody(std::string_view text) {
    std::string body;
    body.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            // CR LF is one break, not two.
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            body += kBreak;
        } else if (c == '\n') {
            body += kBreak;
        } else {
            body += c;
        }
    }
    return body;
}

std::string htmlPage(std::string_view title, std::string_view text, std::string_view charset) {
    std::string page;
    page.reserve(text.size() + text.size() / 8 + title.size() + 256);
    const auto line = [&page](std::string_view part) {
        page += part;
        page += kCrLf;
    };
    line("<html>");
    line("<head>");
    line("<meta name=viewport content='width=device-width, initial-scale=1'>");
    page += "<meta http-equiv='Content-Type' content='text/html; charset=";
    line(std::string(charset) + "'>");
    line("<title>");
    line(title);
    line("</title>");
    line("</head>");
    line("<body>");
    line(htmlBody(text));
    line("</body>");
    line("</html>");
    return page;
}

ExportBytes exportBytes(ExportKind kind, std::string_view title, std::string_view text) {
    ExportBytes out;
    if (kind == ExportKind::TextFile) {
        std::string content(text);
        content += kCrLf;
        out.bytes = store::encode(content, store::Encoding::Windows1252, false, &out.encoding);
        return out;
    }
    // The scaffolding is ASCII, so the charset named cannot change which encoding the title
    // and the body need: try windows-1252, and name UTF-8 when the codec chose it.
    out.bytes = store::encode(htmlPage(title, text, "windows-1252"), store::Encoding::Windows1252,
                              false, &out.encoding);
    if (out.encoding == store::Encoding::Utf8) {
        out.bytes = store::encode(htmlPage(title, text, "UTF-8"), store::Encoding::Utf8, false,
                                  &out.encoding);
    }
    return out;
}

std::string exportFileName(ExportKind kind, std::string_view title) {
    std::string name = store::cleanProjectName(title);
    if (name.empty()) {
        name = kUntitledExport;
    }
    switch (kind) {
        case ExportKind::HtmlCode:
            return name + "_html.txt";
        case ExportKind::WebPage:
            return name + ".html";
        case ExportKind::TextFile:
            return name + ".txt";
    }
    return name;
}

store::Outcome writeExport(const store::AppFolder& app, ExportKind kind, std::string_view title,
                           std::string_view text, std::filesystem::path* written) {
    const std::filesystem::path file = app.exported() / exportFileName(kind, title);
    if (written != nullptr) {
        *written = file;
    }
    return store::writeFileAtomically(file, exportBytes(kind, title, text).bytes);
}

}  // namespace korvex::ui
