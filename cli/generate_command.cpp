#include <cstdio>
#include <istream>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "batch/answers.h"
#include "batch/similarity.h"
#include "cli/command_line.h"
#include "cli/modes.h"
#include "engine/script_file.h"

namespace korvex::cli {
namespace {

// The hint after a refusal to replace a file.
std::string failureText(const store::Outcome& outcome, const batch::BatchWriter& writer) {
    std::string text = "korvex-gen: " + outcome.message();
    if (writer.refusedExisting()) {
        text += " Give --force to replace files that exist.";
    }
    return text + "\n";
}

std::string percentLimit(double percent) {
    char text[32];
    std::snprintf(text, sizeof text, "%g%%", percent);
    return text;
}

}  // namespace

int runGenerate(GenerateSettings& settings, std::istream& in, std::ostream& out,
                std::ostream& err) {
    const std::filesystem::path script(settings.script);
    engine::Options options;
    const std::filesystem::path scriptFile = settings.scriptFile.value_or(script);
    options.scriptFile = scriptFile;
    options.jumpFolder = script.has_parent_path() ? script.parent_path() : ".";
    const batch::DrawSettings& draw = settings.draw;
    // Many texts read the script once for the whole run rather than once a text (a fifth of
    // a small script's time, and threads would queue on the file); one text reads it as the
    // engine does, without a copy to carry. Jumps still read their targets.
    if (draw.wanted > 1) {
        try {
            options.scriptText = engine::readTextFile(scriptFile);
        } catch (const std::bad_alloc&) {
            // Too large to hold: the engine reads it a text at a time and says so.
        } catch (const std::length_error&) {
        }
    }
    engine::Random random =
        settings.seed && !draw.textSeeds ? engine::Random(*settings.seed) : engine::Random();
    TextOutput text(out);
    CommandLineHost host(std::move(settings.answers), in, text, err);
    // Every text of a run gets the same answers: each question is asked the first time a
    // text reaches it (after a jump only some texts do), and its answer serves every later one.
    batch::RememberedAnswers remembered(&host);
    // One generator for all texts: its memory serves every generation; threads share the
    // remembered answers.
    std::optional<batch::TextDrawer> threaded;
    std::optional<batch::TextDrawer> single;
    if (draw.textSeeds && draw.threads > 1) {
        threaded.emplace(std::move(options), settings.script, remembered, draw);
    } else {
        single.emplace(std::move(options), settings.script, remembered, random, draw);
    }
    batch::TextDrawer& drawer = threaded ? *threaded : *single;
    drawer.setBeforeDraw([&] {
        remembered.startText();
        return true;
    });

    std::optional<batch::BatchWriter> writer;
    batch::RecordLayout layout;
    if (settings.targets.any()) {
        layout = batch::scriptLayout(engine::readTextFile(scriptFile).value_or(std::string()));
        layout.seeds = draw.textSeeds.has_value();
        writer.emplace(settings.targets, layout);
        const bool predictable = !draw.unique && !draw.maxSimilarity;
        const auto existing =
            settings.targets.replace
                ? std::nullopt
                : writer->firstExisting(
                      draw.wanted, [&](std::uint64_t position) -> std::optional<std::uint64_t> {
                          if (!draw.textSeeds) {
                              return settings.seed.value_or(0);
                          }
                          if (!predictable) {
                              return std::nullopt;
                          }
                          return engine::textSeed(*draw.textSeeds, position);
                      });
        if (existing) {
            err << "korvex-gen: \"" << existing->string()
                << "\" exists. Give --force to replace files that exist.\n";
            return 1;
        }
        if (auto opened = writer->open(); !opened) {
            err << failureText(opened, *writer);
            return 1;
        }
    }

    auto lost = [&] {
        err << "korvex-gen: cannot write the text: " << text.reason() << '\n';
        return 1;
    };
    batch::TextRecord record;
    while (drawer.next()) {
        const engine::GenerationResult& result = drawer.result();
        if (writer) {
            record.index = settings.targets.firstIndex - 1 + drawer.kept();
            record.draw = drawer.draw();
            record.seed = drawer.seed().value_or(settings.seed.value_or(0));
            record.text = result.text;
            record.jump = result.caption ? std::string_view(*result.caption) : std::string_view();
            batch::takeChoices(layout, drawer.choices(), result.caption.has_value(), record);
            if (auto written = writer->write(record); !written) {
                text.flush();
                err << failureText(written, *writer);
                return 1;
            }
        } else {
            text.write(result.text);
            if (settings.separated) {
                text.put(settings.nullSeparated ? '\0' : '\n');
            }
            if (text.failed()) {
                return lost();
            }
        }
        if (!result.warnings.empty() || settings.stats) {
            text.flush();
            if (text.failed()) {
                return lost();
            }
        }
        for (const auto& warning : result.warnings) {
            err << "korvex-gen: warning: " << warning.text << '\n';
        }
        if (settings.stats) {
            err << "N. Items   : " << result.alternativeCount << '\n'
                << "N. Variants: " << result.variantCount.decimal() << '\n';
        }
        if (settings.workDir) {
            const auto saved = engine::writeWorkingFiles(result.record, *settings.workDir, true);
            if (!saved) {
                text.flush();
                err << "korvex-gen: " << saved.message() << '\n';
                return 1;
            }
        }
    }
    text.flush();
    if (text.failed()) {
        return lost();
    }
    if (writer) {
        if (auto finished = writer->finish(); !finished) {
            err << failureText(finished, *writer);
            return 1;
        }
    }
    const std::uint64_t kept = drawer.kept();
    if (draw.maxSimilarity) {
        err << "korvex-gen: kept " << kept << " of " << drawer.draws() << " texts drawn; "
            << drawer.draws() - kept << " were rejected as more than "
            << percentLimit(*draw.maxSimilarity) << " like a text kept before"
            << (draw.unique ? " or repeating one" : "");
        if (kept < draw.wanted) {
            err << " (" << draw.wanted << " were asked for)";
        }
        err << '\n';
    } else if (kept < draw.wanted) {
        err << "korvex-gen: only " << kept << " different texts came in " << drawer.draws()
            << " generations (" << draw.wanted << " were asked for)\n";
    }
    if (settings.similarity) {
        err << batch::reportText(batch::measureSimilarity(drawer.shingles()));
    }
    return kept < draw.wanted ? kFewerTexts : 0;
}

}  // namespace korvex::cli
