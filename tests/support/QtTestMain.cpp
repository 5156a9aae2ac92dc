// Runs the tests inside a QApplication; the browser engine needs one, and no
// sandbox or GPU on a headless test machine.
#include <gtest/gtest.h>

#include <QApplication>

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer: the web engine's own code, built without it,
// deletes some objects through a base of another size and keeps some
// allocations (its own, fontconfig's, udev's) until exit. Neither is ours;
// leaks and mismatches in the project's code are still reported.
// GCC 12's runtime also guesses the bounds of a dynamic TLS block from the 16
// bytes in front of it when the block starts 16 bytes into a page, as glibc
// once laid such blocks out. Today glibc takes them from malloc, so the guess
// reads an allocator header, and LeakSanitizer's tracer then scans that bogus
// range and crashes at exit ("Tracer caught signal 11"): a test that loads
// libjpeg (through Qt's image plugin) did so whenever its block landed there.
// Without that interception LeakSanitizer still scans dynamic TLS blocks, as
// allocations of the dynamic loader.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0:intercept_tls_get_addr=0"; }
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\nleak:libudev.so\n";
}
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
