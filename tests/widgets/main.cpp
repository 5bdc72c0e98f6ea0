#include "tests/support/qt_test_main.h"

KORVEX_QTEST_MAIN()
