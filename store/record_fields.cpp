#include "store/record_fields.h"

namespace korvex::store {

namespace {

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Steps over the separator at `i`: a comma, or one line break (CR LF counts as one).
void skipSeparator(std::string_view text, std::size_t& i) {
    if (i >= text.size()) {
        return;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        i += 2;
    } else {
        ++i;
    }
}

}  // namespace

std::vector<std::string> readRecordFields(std::string_view text, std::size_t count) {
    std::vector<std::string> fields;
    fields.reserve(count);
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (fields.size() < count && i < n) {
        while (i < n && isBlank(text[i])) {
            ++i;
        }
        std::string field;
        if (i < n && text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            while (i < n && text[i] != ',' && !isLineBreak(text[i])) {
                ++i;
            }
        } else {
            std::size_t start = i;
            while (i < n && text[i] != ',' && !isLineBreak(text[i])) {
                ++i;
            }
            std::size_t end = i;
            while (end > start && isBlank(text[end - 1])) {
                --end;
            }
            field.assign(text.substr(start, end - start));
        }
        skipSeparator(text, i);
        fields.push_back(std::move(field));
    }
    fields.resize(count);
    return fields;
}

std::string quoteField(std::string_view field) {
    std::string quoted = "\"";
    for (char c : field) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace korvex::store
