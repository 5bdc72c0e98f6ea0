#pragma once

namespace korvex::cli {

/// What `korvex-gen --help` prints: every option, the script from standard input and the
/// exit statuses.
extern const char* const kUsage;

}  // namespace korvex::cli
