#pragma once
// Turning a project into a standalone program: a copy of the runtime template beside a copy of
// the project's script, in the Compiled folder, which only ever holds the last one made.

#include <string>
#include <string_view>
#include <vector>

#include "store/app_folder.h"
#include "store/outcome.h"

namespace korvex::runtime {

/// The name of the script a runtime reads beside itself.
inline constexpr std::string_view kRuntimeScriptName = "qz";

/// The files the script's `\inc\` lines name, each once, as the script writes them. A runtime
/// reads a relative path from its own folder, so such a file is carried into Compiled under
/// the same path; a path from the root, or one that climbs out of the folder it starts from,
/// cannot be carried: the runtime would read another file, or the same one only on this
/// computer. Files that do not exist add nothing to the project's text either, and are left out.
struct ScriptIncludes {
    std::vector<std::string> carried;    ///< relative paths inside the application folder
    std::vector<std::string> uncarried;  ///< the paths that cannot go with the runtime
};
/// The includes of the stored script <application folder>/<projectPath>.ini (empty when it
/// cannot be read).
ScriptIncludes scriptIncludes(const store::AppFolder& app, std::string_view projectPath);

/// Builds the standalone program of project `title` from its stored script,
/// <application folder>/<projectPath>.ini (`projectPath` as "Projects\Letter"). Compiled is
/// made when missing and emptied of files; the template Extra/qz becomes Compiled/<title>.exe
/// with the template's permissions (so it stays executable), and the script becomes
/// Compiled/qz byte for byte. `title` is cleaned like a project name, so the program cannot land
/// outside Compiled. The template and the script are read before anything changes, so a missing
/// one leaves the last runtime in place; each copy is written under a temporary name and renamed,
/// so an interrupted creation never leaves a half-copied runtime. The files of
/// scriptIncludes().carried are copied to the same relative paths under Compiled, where the
/// runtime's `\inc\` lines find them.
/// Failure messages: Could not read "<file>": <reason>. / Could not delete "<file>": <reason>. /
/// Could not write "<file>": <reason>.
store::Outcome createRuntime(const store::AppFolder& app, std::string_view title,
                             std::string_view projectPath);

}  // namespace korvex::runtime
