#include "store/highlighting.h"

#include "store/switch_file.h"

namespace korvex::store {

bool parseHighlighting(std::string_view text) {
    return parseSwitch(text, true);
}

bool readHighlighting(const AppFolder& app) {
    return readSwitch(app.highlightFile(), true);
}

Outcome writeHighlighting(const AppFolder& app, bool on) {
    return writeSwitch(app.highlightFile(), on);
}

}  // namespace korvex::store
