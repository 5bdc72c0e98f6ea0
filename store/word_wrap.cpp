#include "store/word_wrap.h"

#include "store/switch_file.h"

namespace korvex::store {

bool parseWordWrap(std::string_view text) {
    return parseSwitch(text, false);
}

bool readWordWrap(const AppFolder& app) {
    return readSwitch(app.wrapFile(), false);
}

Outcome writeWordWrap(const AppFolder& app, bool wrapped) {
    return writeSwitch(app.wrapFile(), wrapped);
}

}  // namespace korvex::store
