#pragma once
// The shared test-file helpers, and the system's reason text that the store's messages quote.

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
