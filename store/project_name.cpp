#include "store/project_name.h"

namespace korvex::store {
namespace {

// The characters a file name may not hold on the system the program was made for, and NUL,
// which ends a file name on every system.
constexpr std::string_view kForbidden("<>:\\/|*?\"\0", 10);

}  // namespace

std::string cleanProjectName(std::string_view typed) {
    std::string name(typed);
    for (char forbidden : kForbidden) {
        std::erase(name, forbidden);
    }
    return name;
}

bool isPlainProjectName(std::string_view name) {
    return !name.empty() && name.find_first_of(kForbidden) == std::string_view::npos;
}

}  // namespace korvex::store
