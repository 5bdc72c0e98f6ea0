#include "engine/jump_loops.h"

#include <algorithm>

#include "engine/script_file.h"
#include "engine/text.h"

namespace korvex::engine {

std::filesystem::path jumpFile(const std::filesystem::path& folder, std::string_view target) {
    return diskPath(std::string(target) + ".ini", folder);
}

bool mayMatch(const JumpLine& jump, bool sawDraw, std::optional<int> bound, bool reached) {
    if (!jump.target) {
        return false;
    }
    if (!jump.number) {
        return true;  // the number before it stays, and that one may match
    }
    if (!sawDraw) {
        return *jump.number == (reached ? -1000 : 0);
    }
    return !bound || (*jump.number >= 1 && *jump.number <= *bound);
}

JumpLoops::JumpLoops(std::filesystem::path folder,
                     const std::optional<std::filesystem::path>& scriptFile,
                     std::string_view script, const CheckFiles& files)
    : folder_(std::move(folder)), script_(script), files_(files) {
    if (scriptFile) {
        scriptKey_ = scriptFile->lexically_normal().string();
    }
}

std::size_t JumpLoops::node(std::string_view target) {
    const auto file = jumpFile(folder_, target);
    const auto [at, added] = byFile_.try_emplace(file.lexically_normal().string(), scripts_.size());
    if (added) {
        scripts_.push_back({std::string(target), file, std::nullopt});
    }
    return at->second;
}

const std::vector<std::size_t>& JumpLoops::next(std::size_t node) {
    if (scripts_[node].next) {
        return *scripts_[node].next;
    }
    const std::filesystem::path file = scripts_[node].file;
    std::optional<std::string> text;
    if (scriptKey_ && file.lexically_normal().string() == *scriptKey_) {
        text = std::string(script_);
    } else {
        text = files_.read(file);
    }
    std::vector<std::size_t> targets;
    if (text) {
        // The script as a jump reaches it: the draw is -1000 until its first `\rnd\` line.
        bool sawDraw = false;
        std::optional<int> bound;
        const char* p = text->data();
        const char* const end = p + text->size();
        while (p < end) {
            const ScriptLine line = readScriptLine(nextScriptLine(p, end));
            if (line.kind == ScriptLineKind::Draw) {
                sawDraw = true;
                bound = wholeNumber(line.argument);
                if (bound && *bound < 1) {
                    bound.reset();
                }
            } else if (line.kind == ScriptLineKind::Jump) {
                const JumpLine jump = readJump(line.argument);
                if (mayMatch(jump, sawDraw, bound, true) && scripts_.size() < kMaxScripts) {
                    targets.push_back(this->node(*jump.target));
                }
            }
        }
    }
    scripts_[node].next = std::move(targets);
    return *scripts_[node].next;
}

std::optional<std::string> JumpLoops::search(std::size_t node, std::vector<std::size_t>& path) {
    scripts_[node].onPath = true;
    path.push_back(node);
    // A copy: reading the scripts further on adds to scripts_.
    const std::vector<std::size_t> targets = next(node);
    for (const std::size_t target : targets) {
        if (scripts_[target].onPath) {
            std::string loop;
            for (auto at = std::find(path.begin(), path.end(), target); at != path.end(); ++at) {
                loop += scripts_[*at].name + " -> ";
            }
            return loop + scripts_[target].name;
        }
        if (!scripts_[target].done) {
            if (auto loop = search(target, path)) {
                return loop;
            }
        }
    }
    scripts_[node].onPath = false;
    scripts_[node].done = true;
    path.pop_back();
    return std::nullopt;
}

std::optional<std::string> JumpLoops::loopFrom(std::string_view target) {
    std::vector<std::size_t> path;
    auto loop = search(node(target), path);
    for (const std::size_t n : path) {
        scripts_[n].onPath = false;
    }
    return loop;
}

}  // namespace korvex::engine
