#include <istream>
#include <ostream>
#include <sstream>

#include "batch/similarity.h"
#include "cli/command_line.h"
#include "cli/modes.h"
#include "engine/script_file.h"
#include "engine/text_listing.h"

namespace korvex::cli {

int runList(const ListSettings& settings, std::ostream& out, std::ostream& err) {
    const std::string script =
        engine::readTextFile(settings.scriptFile.value_or(settings.script)).value_or(std::string{});
    engine::ListingOptions options;
    options.readInclude = engine::includeReader({});
    engine::ScriptListing listing(script, options);
    auto refused = [&] {
        err << "korvex-gen: cannot list every text of " << settings.script << ": "
            << *listing.refusal() << '\n';
        return 1;
    };
    if (listing.refusal()) {
        return refused();
    }
    std::optional<batch::BatchWriter> writer;
    const batch::RecordLayout layout = batch::listingLayout(listing);
    auto failed = [&](const store::Outcome& outcome) {
        err << "korvex-gen: " << outcome.message()
            << (writer->refusedExisting() ? " Give --force to replace files that exist." : "")
            << '\n';
        return 1;
    };
    if (settings.targets.any()) {
        writer.emplace(settings.targets, layout);
        if (!settings.targets.replace) {
            if (const auto existing = writer->firstExisting(settings.limit, [](std::uint64_t) {
                    return std::optional<std::uint64_t>(0);
                })) {
                err << "korvex-gen: \"" << existing->string()
                    << "\" exists. Give --force to replace files that exist.\n";
                return 1;
            }
        }
        if (auto opened = writer->open(); !opened) {
            return failed(opened);
        }
    }
    TextOutput text(out);
    // Questions were refused, so the host only ever shows the first text's messages.
    std::istringstream noInput;
    CommandLineHost host({}, noInput, text, err);
    const std::uint64_t maxTries =
        settings.limit > UINT64_MAX / kTriesPerText ? UINT64_MAX : settings.limit * kTriesPerText;
    engine::DistinctTexts texts(listing, host, maxTries);
    batch::ShingleSets shingles;
    batch::TextRecord record;
    std::uint64_t written = 0;
    while (written < settings.limit && texts.next()) {
        ++written;
        if (settings.similarity) {
            shingles.add(texts.text());
        }
        if (writer) {
            record.index = written;
            record.text = texts.text();
            batch::takeChoices(layout, listing, texts.choice(), record);
            if (auto saved = writer->write(record); !saved) {
                return failed(saved);
            }
            continue;
        }
        text.write(texts.text());
        text.put(settings.nullSeparated ? '\0' : '\n');
        if (text.failed()) {
            err << "korvex-gen: cannot write the text: " << text.reason() << '\n';
            return 1;
        }
    }
    text.flush();
    if (text.failed()) {
        err << "korvex-gen: cannot write the text: " << text.reason() << '\n';
        return 1;
    }
    if (listing.refusal()) {
        return refused();
    }
    if (writer) {
        if (auto finished = writer->finish(); !finished) {
            return failed(finished);
        }
    }
    if (!texts.complete()) {
        if (written == settings.limit) {
            err << "korvex-gen: stopped at the limit of " << settings.limit << " texts\n";
        } else {
            err << "korvex-gen: stopped after trying " << texts.tried() << " combinations ("
                << kTriesPerText << " for each text the limit allows): " << written
                << " different texts found, and there may be more\n";
        }
    }
    if (settings.stats) {
        err << "N. Texts   : " << written << '\n'
            << "N. Variants: " << listing.combinations().decimal() << '\n';
    }
    if (settings.similarity) {
        err << batch::reportText(batch::measureSimilarity(shingles));
    }
    return texts.complete() ? 0 : kFewerTexts;
}

}  // namespace korvex::cli
