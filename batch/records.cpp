#include "batch/records.h"

#include <algorithm>

#include "engine/finishing.h"
#include "engine/reading.h"
#include "engine/splitting.h"

namespace korvex::batch {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void appendCsvField(std::string_view field, std::string& out) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void appendJsonString(std::string_view text, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

// The fields of a record in order, each with its title and whether JSON writes it as a
// number.
template <typename Field>
void forEachField(const RecordLayout& layout, const TextRecord& record, Field&& field) {
    field("index", std::optional<std::string>(std::to_string(record.index)), true);
    if (layout.seeds) {
        field("draw", std::optional<std::string>(std::to_string(record.draw)), true);
        field("seed", std::optional<std::string>(std::to_string(record.seed)), false);
    }
    field("text", std::optional<std::string>(record.text), false);
    if (layout.jumps) {
        field("jump", record.jump.empty() ? std::nullopt : std::optional<std::string>(record.jump),
              false);
    }
    for (std::size_t k = 0; k < layout.choices.size(); ++k) {
        const auto& value = k < record.choices.size() ? record.choices[k] : std::nullopt;
        field(layout.choices[k].title(), value, !layout.choices[k].variable);
    }
}

}  // namespace

std::string ChoiceField::title() const {
    return variable ? "variable " + name : "block " + std::to_string(number);
}

RecordLayout scriptLayout(std::string_view script) {
    RecordLayout layout;
    engine::Draws draws;
    engine::Random random(0);
    engine::ReadingOutcome reading;
    engine::readScript(script, draws, random, false, reading);
    engine::splitBlocks(reading.record);
    for (std::size_t b = 0; b <= reading.record.blockCount(); ++b) {
        if (reading.record.alternativesOf(b) > 0) {
            layout.choices.push_back({false, b, {}});
        }
    }
    for (std::size_t slot = 0; slot < reading.variables.size(); ++slot) {
        const auto definition = engine::readVariable(reading.variables[slot]);
        if (definition && definition->hasOptions()) {
            layout.choices.push_back({true, slot, std::string(definition->name)});
        }
    }
    const char* p = script.data();
    while (p < script.data() + script.size() && !layout.jumps) {
        const auto line = engine::nextScriptLine(p, script.data() + script.size());
        layout.jumps = engine::readScriptLine(line).kind == engine::ScriptLineKind::Jump;
    }
    return layout;
}

RecordLayout listingLayout(const engine::ScriptListing& listing) {
    RecordLayout layout;
    for (const engine::ChoicePoint& point : listing.choicePoints()) {
        const bool variable = point.kind == engine::ChoicePoint::Kind::Variable;
        layout.choices.push_back({variable, point.number, point.name});
    }
    return layout;
}

void takeChoices(const RecordLayout& layout, const engine::GenerationChoices& choices, bool jumped,
                 TextRecord& record) {
    record.choices.assign(layout.choices.size(), std::nullopt);
    if (jumped) {
        return;
    }
    const engine::WorkingRecord& script = choices.record;
    for (std::size_t k = 0; k < layout.choices.size(); ++k) {
        const ChoiceField& field = layout.choices[k];
        if (field.variable) {
            if (field.number >= choices.takenOptions.size() ||
                choices.takenOptions[field.number] == engine::kNoPick) {
                continue;
            }
            const auto definition = engine::readVariable(choices.variables[field.number]);
            record.choices[k] =
                std::string(definition->options()[choices.takenOptions[field.number]]);
            continue;
        }
        if (field.number >= choices.picks.size() ||
            choices.picks[field.number] == engine::kNoPick) {
            continue;
        }
        // A block's lines stand in script order: the pick's place among them is its number.
        const auto first = script.altLines.begin() + script.blockStart[field.number];
        const auto last = script.altLines.begin() + script.blockStart[field.number + 1];
        const auto at = std::lower_bound(first, last, choices.picks[field.number]);
        record.choices[k] = std::to_string(at - first + 1);
    }
}

void takeChoices(const RecordLayout& layout, const engine::ScriptListing& listing,
                 const std::vector<std::uint32_t>& choice, TextRecord& record) {
    record.choices.assign(layout.choices.size(), std::nullopt);
    const auto& points = listing.choicePoints();
    for (std::size_t k = 0; k < points.size() && k < choice.size(); ++k) {
        if (points[k].kind == engine::ChoicePoint::Kind::Variable) {
            record.choices[k] = std::string(listing.optionText(k, choice[k]));
        } else {
            record.choices[k] = std::to_string(points[k].options[choice[k]] + 1);
        }
    }
}

std::string recordHeader(RecordFormat format, const RecordLayout& layout) {
    if (format == RecordFormat::JsonLines) {
        return {};
    }
    std::string header(kByteOrderMark);
    bool first = true;
    forEachField(layout, TextRecord{}, [&](std::string_view title, const auto&, bool) {
        if (!first) {
            header += ',';
        }
        first = false;
        appendCsvField(title, header);
    });
    return header + "\r\n";
}

void appendRecord(RecordFormat format, const RecordLayout& layout, const TextRecord& record,
                  std::string& out) {
    bool first = true;
    if (format == RecordFormat::Csv) {
        forEachField(layout, record,
                     [&](std::string_view, const std::optional<std::string>& value, bool) {
                         if (!first) {
                             out += ',';
                         }
                         first = false;
                         appendCsvField(value.value_or(std::string()), out);
                     });
        out += "\r\n";
        return;
    }
    out += '{';
    forEachField(layout, record,
                 [&](std::string_view title, const std::optional<std::string>& value, bool number) {
                     if (!first) {
                         out += ',';
                     }
                     first = false;
                     appendJsonString(title, out);
                     out += ':';
                     if (!value) {
                         out += "null";
                     } else if (number) {
                         out += *value;
                     } else {
                         appendJsonString(*value, out);
                     }
                 });
    out += "}\n";
}

}  // namespace korvex::batch
