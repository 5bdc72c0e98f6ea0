#include "engine/generate.h"

#include <new>
#include <stdexcept>

#include "engine/assembling.h"
#include "engine/finishing.h"
#include "engine/picking.h"
#include "engine/reading.h"
#include "engine/script_file.h"
#include "engine/splitting.h"

namespace korvex::engine {
namespace {

std::filesystem::path projectFile(std::string_view projectPath, const Options& options) {
    return diskPath(std::string(projectPath) + ".ini", options.appFolder);
}

// A jump goes to a project of the same project folder: everything before the first backslash
// of the current path, a backslash, and the target.
std::string jumpPath(std::string_view currentPath, std::string_view target) {
    const auto folder = currentPath.substr(0, currentPath.find('\\'));
    std::string path(folder);
    path += '\\';
    path += target;
    return path;
}

// The runtime holds only its own script, so every jump it takes goes back to that one.
std::string jumpWarning(std::size_t maxJumps, bool runtime) {
    return "Jumps stopped after " + std::to_string(maxJumps) +
           (runtime ? ": the script kept jumping to itself, so it was generated as it is."
                    : ": the scripts kept jumping to one another, so the last one was generated "
                      "as it is.");
}

std::string sizeWarning(std::size_t maxBytes) {
    return "The text reached the size limit of " + std::to_string(maxBytes >> 20) +
           " MiB, so part of it was left out.";
}

const std::string kScriptCutWarning =
    "The script is too long to generate whole (over 4 GiB once read), so its end was left out.";
const std::string kScriptTooLargeWarning =
    "The script is too large to read into memory, so it was generated as empty.";

// A script that cannot fit in memory (a sparse file can claim a terabyte) reads as empty
// instead of ending the program.
std::string loadScript(const std::filesystem::path& file, bool& tooLarge) {
    try {
        return readTextFile(file).value_or(std::string{});
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    tooLarge = true;
    return {};
}

}  // namespace

struct Generator::Stages {
    ReadingOutcome reading;
    Picks picks;
    Assembly assembly;
    std::string scratch;
    IncludeReader readInclude;
    std::vector<std::uint32_t> takenOptions;
};

Generator::Generator(Options options, Host& host, Random& random)
    : options_(std::move(options)),
      host_(host),
      random_(random),
      stages_(std::make_unique<Stages>()) {
    stages_->readInclude = includeReader(options_.appFolder);
}

Generator::~Generator() = default;

GenerationResult& Generator::generate(std::string_view projectPath) {
    GenerationResult& result = result_;
    result.text.clear();
    result.alternativeCount = 0;
    result.variantCount.reset();
    result.caption.reset();
    result.projectPath = projectPath;
    result.endRequested = false;
    result.warnings.clear();
    std::filesystem::path file =
        options_.scriptFile ? *options_.scriptFile : projectFile(projectPath, options_);

    // The reading pass starts again from nothing after every jump; only the draws survive.
    Draws draws;
    std::size_t jumps = 0;
    ReadingOutcome& reading = stages_->reading;
    bool scriptTooLarge = false;
    std::string loaded;
    for (;;) {
        // The runtime's jumps read its first script again, the text given here included.
        const bool inMemory = options_.scriptText && (jumps == 0 || options_.runtime);
        if (!inMemory) {
            loaded = loadScript(file, scriptTooLarge);
        }
        const std::string& script = inMemory ? *options_.scriptText : loaded;
        readScript(script, draws, random_, jumps < options_.maxJumps, reading);
        if (!reading.jumpTarget) {
            break;
        }
        ++jumps;
        const std::string& target = *reading.jumpTarget;
        draws.draw = -1000;
        result.caption = target;
        if (!options_.runtime) {
            // The runtime reads its own script again; everything else goes to the target.
            result.projectPath = jumpPath(result.projectPath, target);
            file = options_.jumpFolder ? diskPath(target + ".ini", *options_.jumpFolder)
                                       : projectFile(result.projectPath, options_);
        }
        host_.jumped(result.projectPath, target);
    }
    if (reading.jumpRefused) {
        result.warnings.push_back(
            {WarningKind::JumpLimit, jumpWarning(options_.maxJumps, options_.runtime)});
    }
    if (reading.scriptCut) {
        result.warnings.push_back({WarningKind::ScriptLimit, kScriptCutWarning});
    }
    if (scriptTooLarge) {
        result.warnings.push_back({WarningKind::ScriptLimit, kScriptTooLargeWarning});
    }
    result.endRequested = reading.endRequested;

    WorkingRecord& record = reading.record;
    splitBlocks(record);
    record.createsBlockZero = !options_.runtime;
    if (!options_.runtime) {
        const auto alternatives = static_cast<long long>(record.altLines.size());
        result.alternativeCount = alternatives < 2 ? 0 : alternatives;
        for (std::size_t b = 0; b <= record.blockCount(); ++b) {
            result.variantCount.multiplyBy(static_cast<std::uint32_t>(record.alternativesOf(b)));
        }
    }

    Picks& picks = stages_->picks;
    pickAlternatives(record, random_, picks);
    Assembly& output = stages_->assembly;
    assemble(record, picks, AssemblyContext{host_, stages_->readInclude, options_.maxTextBytes},
             output);
    const bool complete = finish(output.text,
                                 FinishingInput{reading.variables, record, picks, output.answers,
                                                nullptr, &stages_->takenOptions},
                                 random_, host_, options_.maxTextBytes, stages_->scratch);
    if (output.cut || !complete) {
        result.warnings.push_back({WarningKind::TextLimit, sizeWarning(options_.maxTextBytes)});
    }
    // Swapped, not moved: the buffers of this result serve the generation after next.
    result.text.swap(output.text);
    result.record.clear();
    std::swap(result.record, record);
    return result;
}

GenerationChoices Generator::choices() const {
    return {result_.record, stages_->picks, stages_->reading.variables, stages_->takenOptions};
}

GenerationResult generate(std::string_view projectPath, const Options& options, Host& host,
                          Random& random) {
    Generator generator(options, host, random);
    return std::move(generator.generate(projectPath));
}

}  // namespace korvex::engine
