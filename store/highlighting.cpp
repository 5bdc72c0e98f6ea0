#include "store/highlighting.h"

#include "store/file_io.h"
#include "store/record_fields.h"

namespace korvex::store {

bool parseHighlighting(std::string_view text) {
    return readRecordFields(text, 1)[0] != "0";
}

bool readHighlighting(const AppFolder& app) {
    const std::optional<DecodedText> content = readDecodedText(app.highlightFile());
    return !content || parseHighlighting(content->text);
}

Outcome writeHighlighting(const AppFolder& app, bool on) {
    return writeFileAtomically(app.highlightFile(), on ? "1\r\n" : "0\r\n");
}

}  // namespace korvex::store
