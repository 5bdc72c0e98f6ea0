#include "runtime/runtime_creation.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "engine/assembling.h"
#include "engine/markers.h"
#include "engine/random.h"
#include "engine/reading.h"
#include "engine/script_file.h"
#include "engine/text.h"
#include "store/file_io.h"
#include "store/project_name.h"

namespace korvex::runtime {
namespace fs = std::filesystem;

namespace {

store::Outcome failure(std::string_view verb, const fs::path& file, std::string_view reason) {
    return store::Outcome::failure(store::failureText(verb, file, reason));
}

store::Outcome failure(std::string_view verb, const fs::path& file, const std::error_code& error) {
    return failure(verb, file, store::reasonText(error));
}

// Every file goes; sub-folders are not the runtime's and stay.
store::Outcome emptyFolder(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statusError;
        if (!it->is_directory(statusError)) {
            files.push_back(it->path());
        }
    }
    if (ec) {
        return failure("delete", folder / "*", ec);
    }
    for (const fs::path& file : files) {
        if (fs::remove(file, ec); ec && ec != std::errc::no_such_file_or_directory) {
            return failure("delete", file, ec);
        }
    }
    return store::Outcome::success();
}

// One finished copy under a name listings leave out, renamed into place only once whole.
struct StagedFile {
    fs::path temporary;
    fs::path target;
};

std::error_code stage(const StagedFile& file, std::string_view bytes,
                      std::optional<fs::perms> permissions) {
    std::error_code error = store::createFileContent(file.temporary, bytes);
    if (!error && permissions) {
        fs::permissions(file.temporary, *permissions, fs::perm_options::replace, error);
    }
    return error;
}

// A path as a script writes it that stays below the folder it starts from.
bool staysInside(std::string_view pathText) {
    std::string text(pathText);
    std::replace(text.begin(), text.end(), '\\', '/');
    const fs::path path(text);
    if (path.empty() || path.has_root_path() || (text.size() > 1 && text[1] == ':')) {
        return false;
    }
    int depth = 0;
    for (const fs::path& part : path) {
        if (part == "..") {
            if (--depth < 0) {
                return false;
            }
        } else if (part != "." && !part.empty()) {
            ++depth;
        }
    }
    return depth > 0;
}

}  // namespace

ScriptIncludes scriptIncludes(const store::AppFolder& app, std::string_view projectPath) {
    ScriptIncludes includes;
    std::string scriptPath(projectPath);
    scriptPath += store::kProjectExtension;
    const std::optional<fs::path> script = app.resolve(scriptPath);
    const std::optional<std::string> text =
        script ? engine::readTextFile(*script) : std::optional<std::string>();
    if (!text) {
        return includes;
    }
    // The script's own reading, without jumps (the runtime reads its script to the end after
    // one), finds the \inc\ lines just as a generation does.
    engine::Draws draws;
    engine::Random random(0);
    engine::ReadingOutcome reading;
    engine::readScript(*text, draws, random, false, reading);
    const engine::WorkingRecord& record = reading.record;
    std::vector<std::string> seen;
    for (std::size_t k = 0; k < record.lineCount(); ++k) {
        const std::string_view body = record.body(k);
        if (record.kinds[k] != engine::LineKind::Text ||
            engine::outputDirective(body) != engine::OutputDirective::Include) {
            continue;
        }
        std::string path(engine::trimSpaces(body.substr(engine::kIncludeDirective.size())));
        if (path.empty() || std::find(seen.begin(), seen.end(), path) != seen.end()) {
            continue;
        }
        seen.push_back(path);
        std::error_code error;
        if (!fs::is_regular_file(engine::diskPath(path, app.root()), error)) {
            continue;
        }
        (staysInside(path) ? includes.carried : includes.uncarried).push_back(path);
    }
    return includes;
}

store::Outcome createRuntime(const store::AppFolder& app, std::string_view title,
                             std::string_view projectPath) {
    const fs::path folder = app.compiled();
    const std::string programName = store::cleanProjectName(title);
    const fs::path program = folder / (programName + ".exe");
    if (!store::isPlainProjectName(programName)) {
        return failure("write", program, store::kNotAProjectName);
    }
    std::string scriptPath(projectPath);
    scriptPath += store::kProjectExtension;
    const std::optional<fs::path> script = app.resolve(scriptPath);
    if (!script) {
        return failure("read", app.root() / scriptPath, store::kNotAProjectName);
    }

    std::error_code error;
    const fs::path templateFile = app.runtimeTemplate();
    const std::optional<std::string> programBytes = store::readFileBytes(templateFile, &error);
    if (!programBytes) {
        return failure("read", templateFile, error);
    }
    const fs::perms templatePermissions = fs::status(templateFile, error).permissions();
    if (error) {
        return failure("read", templateFile, error);
    }
    const std::optional<std::string> scriptBytes = store::readFileBytes(*script, &error);
    if (!scriptBytes) {
        return failure("read", *script, error);
    }

    fs::create_directories(folder, error);
    if (error) {
        return failure("write", folder, error);
    }
    if (store::Outcome emptied = emptyFolder(folder); !emptied) {
        return emptied;
    }

    const std::string prefix(store::kSaveTempPrefix);
    const StagedFile staged[] = {
        {folder / (prefix + "runtime"), program},
        {folder / (prefix + "script"), folder / kRuntimeScriptName},
    };
    // A failure takes away every piece of this creation (half a runtime is no runtime), but
    // never a file that something else put in its place meanwhile.
    std::size_t placed = 0;
    auto fail = [&](const fs::path& file, const std::error_code& reason) {
        std::error_code ignored;
        for (std::size_t i = 0; i < std::size(staged); ++i) {
            fs::remove(i < placed ? staged[i].target : staged[i].temporary, ignored);
        }
        return failure("write", file, reason);
    };
    // The user keeps write permission on the copy, whatever the installed template has.
    error = stage(staged[0], *programBytes, templatePermissions | fs::perms::owner_write);
    if (error) {
        return fail(program, error);
    }
    error = stage(staged[1], *scriptBytes, std::nullopt);
    if (error) {
        return fail(staged[1].target, error);
    }
    for (const StagedFile& file : staged) {
        error = store::renameWithoutReplacing(file.temporary, file.target);
        if (error) {
            return fail(file.target, error);
        }
        ++placed;
    }
    // What the script includes goes with it, where the runtime's own \inc\ lines look.
    for (const std::string& path : scriptIncludes(app, projectPath).carried) {
        const fs::path source = engine::diskPath(path, app.root());
        const std::optional<std::string> bytes = store::readFileBytes(source, &error);
        if (!bytes) {
            return failure("read", source, error);
        }
        const fs::path target = engine::diskPath(path, folder);
        fs::create_directories(target.parent_path(), error);
        if (error) {
            return failure("write", target.parent_path(), error);
        }
        if (store::Outcome written = store::writeFileAtomically(target, *bytes); !written) {
            return written;
        }
    }
    return store::Outcome::success();
}

}  // namespace korvex::runtime
