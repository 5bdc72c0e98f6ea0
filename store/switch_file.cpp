#include "store/switch_file.h"

#include "store/file_io.h"
#include "store/record_fields.h"

namespace korvex::store {

bool parseSwitch(std::string_view text, bool byDefault) {
    const std::string field = readRecordFields(text, 1)[0];
    if (field == "1") {
        return true;
    }
    return field == "0" ? false : byDefault;
}

bool readSwitch(const std::filesystem::path& file, bool byDefault) {
    const std::optional<DecodedText> content = readDecodedText(file);
    return content ? parseSwitch(content->text, byDefault) : byDefault;
}

Outcome writeSwitch(const std::filesystem::path& file, bool on) {
    return writeFileAtomically(file, on ? "1\r\n" : "0\r\n");
}

}  // namespace korvex::store
