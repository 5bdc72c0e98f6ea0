#pragma once
#include <cstddef>
#include <string>

namespace korvex::bench {

/// A script of `blocks` text lines, each followed by a block of `alternatives` alternatives in
/// braces: about 50 bytes a block, so 50,000 blocks of 4 make about 2.5 MB.
std::string blockScript(std::size_t blocks, std::size_t alternatives);

/// A script of about 30 lines such as a person writes: comments, variables, blocks both ways,
/// block references and markers.
std::string smallScript();

}  // namespace korvex::bench
