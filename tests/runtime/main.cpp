#include "tests/platform/qt_test_main.h"

KORVEX_QTEST_MAIN()
