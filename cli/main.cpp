#include <unistd.h>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/descriptor_buffer.h"
#include "cli/korvex_gen.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::setlocale(LC_TIME, "");  // \date\ and \time\ in the user's formats
    const std::vector<std::string> args(argv + 1, argv + argc);
    korvex::cli::DescriptorBuffer standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    return korvex::cli::runKorvexGen(args, std::cin, out, std::cerr);
}
