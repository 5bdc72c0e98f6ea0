#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/korvex_gen.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::setlocale(LC_TIME, "");  // \date\ and \time\ in the user's formats
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvex::cli::runKorvexGen(args, std::cin, std::cout, std::cerr);
}
