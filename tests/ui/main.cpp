// The run-time's tests run on Qt's offscreen platform unless the caller chose another one.
#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>

// Under the leak sanitizer: fontconfig keeps its caches for the life of the process.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Death tests start afresh, without the application that other tests made.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
