// make-runtime: runtime creation from the command line, as the editor's "Create a EXE File"
// button runs it, for `./dev shots` and for trying a runtime by hand.
//   make-runtime <application folder> <project name> <project path, as Examples\Welcome>

#include <iostream>

#include "runtime/runtime_creation.h"

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::cerr << "usage: make-runtime APP_FOLDER PROJECT_NAME PROJECT_PATH\n";
        return 2;
    }
    const korvex::store::Outcome made =
        korvex::runtime::createRuntime(korvex::store::AppFolder(argv[1]), argv[2], argv[3]);
    if (!made) {
        std::cerr << made.message() << '\n';
        return 1;
    }
    return 0;
}
