#include <ostream>

#include "cli/command_line.h"
#include "cli/modes.h"
#include "engine/checker.h"
#include "engine/script_file.h"

namespace korvex::cli {

int runCheck(const std::string& script, const std::optional<std::filesystem::path>& scriptFile,
             std::ostream& out, std::ostream& err) {
    const std::filesystem::path file(scriptFile ? "-" : script);
    const std::string text =
        engine::readTextFile(scriptFile.value_or(file)).value_or(std::string{});
    engine::CheckOptions options;
    // As a generation from the command line: includes from the current folder, jump targets
    // beside the script.
    options.jumpFolder = file.has_parent_path() ? file.parent_path() : ".";
    options.scriptFile = file;
    bool anyError = false;
    TextOutput lines(out);
    for (const engine::Diagnostic& d : engine::check(text, options)) {
        anyError = anyError || d.severity == engine::Severity::Error;
        // A note on the whole list names the file alone.
        const std::string place =
            d.line == 0 ? script
                        : script + ':' + std::to_string(d.line) + ':' + std::to_string(d.column);
        lines.write(place + ": " + std::string(engine::severityName(d.severity)) + ": " +
                    d.message + " [" + d.code + "]\n");
    }
    lines.flush();
    if (lines.failed()) {
        err << "korvex-gen: cannot write the findings: " << lines.reason() << '\n';
        return 1;
    }
    return anyError ? 1 : 0;
}

}  // namespace korvex::cli
