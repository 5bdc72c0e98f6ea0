#include "engine/generate.h"

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

// `\inc\` paths as scripts write them, read from the disk; a file larger than the room left
// is not read at all (it could be a sparse terabyte).
IncludeReader includeReader(const std::filesystem::path& base) {
    return [base](std::string_view pathText, std::size_t room) {
        const auto file = diskPath(pathText, base);
        IncludedFile included;
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        if (!error && size > room) {
            included.status = IncludedFile::Status::TooLarge;
        } else if (auto text = readTextFile(file)) {
            included.status = IncludedFile::Status::Read;
            included.text = std::move(*text);
        }
        return included;
    };
}

std::string sizeWarning(std::size_t maxBytes) {
    return "The text reached the size limit of " + std::to_string(maxBytes >> 20) +
           " MiB, so part of it was left out.";
}

const std::string kScriptCutWarning =
    "The script is too long to generate whole (over 4 GiB once read), so its end was left out.";

}  // namespace

GenerationResult generate(std::string_view projectPath, const Options& options, Host& host,
                          Random& random) {
    GenerationResult result;
    result.projectPath = projectPath;
    std::filesystem::path file =
        options.scriptFile ? *options.scriptFile : projectFile(projectPath, options);

    // The reading pass starts again from nothing after every jump; only the draws survive.
    Draws draws;
    std::size_t jumps = 0;
    ReadingOutcome reading;
    for (;;) {
        const std::string script = readTextFile(file).value_or(std::string{});
        reading = readingPass(script, draws, random, jumps < options.maxJumps);
        if (!reading.jumpTarget) {
            break;
        }
        ++jumps;
        const std::string& target = *reading.jumpTarget;
        draws.draw = -1000;
        result.caption = target;
        if (!options.runtime) {
            // The runtime reads its own script again; everything else goes to the target.
            result.projectPath = jumpPath(result.projectPath, target);
            file = options.jumpFolder ? diskPath(target + ".ini", *options.jumpFolder)
                                      : projectFile(result.projectPath, options);
        }
        host.jumped(result.projectPath, target);
    }
    if (reading.jumpRefused) {
        result.warnings.push_back(
            {WarningKind::JumpLimit, jumpWarning(options.maxJumps, options.runtime)});
    }
    if (reading.scriptCut) {
        result.warnings.push_back({WarningKind::ScriptLimit, kScriptCutWarning});
    }
    result.endRequested = reading.endRequested;

    WorkingRecord& record = reading.record;
    splitBlocks(record);
    record.createsBlockZero = !options.runtime;
    if (!options.runtime) {
        const auto alternatives = static_cast<long long>(record.altLines.size());
        result.alternativeCount = alternatives < 2 ? 0 : alternatives;
        for (std::size_t b = 0; b <= record.blockCount(); ++b) {
            result.variantCount.multiplyBy(static_cast<std::uint32_t>(record.alternativesOf(b)));
        }
    }

    const auto picks = pickAlternatives(record, random);
    const AssemblyContext context{host, includeReader(options.appFolder), options.maxTextBytes};
    Assembly output = assemble(record, picks, context);
    const bool complete =
        finish(output.text, FinishingInput{reading.variables, picks, output.answers}, random, host,
               options.maxTextBytes);
    if (output.cut || !complete) {
        result.warnings.push_back({WarningKind::TextLimit, sizeWarning(options.maxTextBytes)});
    }
    result.text = std::move(output.text);
    result.record = std::move(record);
    return result;
}

}  // namespace korvex::engine
