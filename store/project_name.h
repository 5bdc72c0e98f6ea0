#pragma once
// What a project name may be. A project is one file in its project folder, so its name is one
// file name: every store operation takes only names that cannot point anywhere else.

#include <string>
#include <string_view>

namespace korvex::store {

/// The reason quoted when an operation refuses a name.
inline constexpr std::string_view kNotAProjectName = "Not a valid project name";

/// `typed` with every < > : \ / | * ? double quote and NUL removed; nothing else changes
/// (spaces, dots and length stay as typed). No cleaned name can reach outside its folder.
std::string cleanProjectName(std::string_view typed);

/// True when `name` is a name cleaning leaves as it is and is not empty: the only names the
/// store's operations accept.
bool isPlainProjectName(std::string_view name);

}  // namespace korvex::store
