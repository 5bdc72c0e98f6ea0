#pragma once
// One QtTest program runs several test classes. Each test file registers its class with
// KORVEX_QTEST(Class); the program's main() is KORVEX_QTEST_MAIN().

#include <QApplication>
#include <QTest>
#include <utility>
#include <vector>

namespace korvex::testing {

using TestRunner = int (*)(int argc, char** argv);

inline std::vector<TestRunner>& registeredTests() {
    static std::vector<TestRunner> tests;
    return tests;
}

struct TestRegistration {
    explicit TestRegistration(TestRunner runner) { registeredTests().push_back(runner); }
};

template <typename Test>
int runTest(int argc, char** argv) {
    Test test;
    return QTest::qExec(&test, argc, argv);
}

/// Runs every registered class; the result is the number of classes with a failure.
inline int runRegisteredTests(int argc, char** argv) {
    // The tests run headless unless the caller chose a platform; without this a build machine
    // with no display aborts in the QApplication constructor.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Windows under test close themselves (a script's end request); that must not end the
    // test program.
    QApplication::setQuitOnLastWindowClosed(false);
    int failed = 0;
    for (TestRunner run : registeredTests()) {
        failed += run(argc, argv) != 0 ? 1 : 0;
    }
    return failed;
}

}  // namespace korvex::testing

#define KORVEX_QTEST(Class)                                                   \
    static const korvex::testing::TestRegistration korvexRegistration##Class{ \
        &korvex::testing::runTest<Class>};

#define KORVEX_QTEST_MAIN()                                     \
    int main(int argc, char** argv) {                           \
        return korvex::testing::runRegisteredTests(argc, argv); \
    }
