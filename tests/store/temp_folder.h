#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the
// end of the test.

#include <string>
#include <system_error>

#include "tests/common/test_files.h"

namespace korvex::store::testing {

using korvex::testing::readBytes;
using korvex::testing::TempFolder;
using korvex::testing::writeBytes;

/// The system's text for `error`, as the store's messages quote it.
inline std::string reason(std::errc error) {
    return std::make_error_code(error).message();
}

}  // namespace korvex::store::testing
