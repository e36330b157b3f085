// A component file for the registration tests. Its registration appends the
// file's kind to $TVANE_HOME/registered.txt, so a test sees what was called.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#if defined(REGTEST_ok) || defined(REGTEST_fail)
extern "C" __attribute__((visibility("default"))) std::int32_t DllRegisterServer() {
    const char* home = std::getenv("TVANE_HOME");
    std::ofstream(std::string(home ? home : ".") + "/registered.txt", std::ios::app)
#if defined(REGTEST_ok)
        << "ok\n";
    return 0;
#else
        << "fail\n";
    return static_cast<std::int32_t>(0x80004005u);
#endif
}
#else
extern "C" __attribute__((visibility("default"))) int SomethingElse() {
    return 1;
}
#endif
