#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace korvex::cli {

/// Runs korvex-gen with `args` (without the program name). The finished text goes to `out`;
/// messages, prompts, counts, warnings and errors go to `err`; answers beyond the --answer
/// options are read from `in`, one line each. `out` is flushed only before something is written
/// to `err`, and at the end. Returns the exit status: 0 on success, 1 when the script cannot be
/// read, the text cannot be written to `out` or the working files cannot be written, 2 for bad
/// options, 3 when fewer texts came than were asked for. Not reentrant: the options are read
/// with getopt_long, which keeps its place in globals.
int runKorvexGen(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

}  // namespace korvex::cli
