#include "store/word_wrap.h"

#include "store/file_io.h"
#include "store/record_fields.h"

namespace korvex::store {

bool parseWordWrap(std::string_view text) {
    return readRecordFields(text, 1)[0] == "1";
}

bool readWordWrap(const AppFolder& app) {
    std::optional<DecodedText> content = readDecodedText(app.wrapFile());
    return content && parseWordWrap(content->text);
}

Outcome writeWordWrap(const AppFolder& app, bool wrapped) {
    return writeFileAtomically(app.wrapFile(), wrapped ? "1\r\n" : "0\r\n");
}

}  // namespace korvex::store
