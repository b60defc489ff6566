#include "qt/agent/SpeechLibraries.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

namespace agent::speech {
namespace {

// Each forwarded function must come from the library the package depends on: a wrong soname or name
// would only show as a silent or voiceless drill, and an address in this program would call itself.
TEST(SpeechLibraries, EveryForwardedFunctionIsFoundInItsOwnLibrary) {
    ASSERT_FALSE(lateSymbols().empty());
    for (const LateSymbol& s : lateSymbols()) {
        SCOPED_TRACE(std::string(s.library) + " " + s.name);
        const char* error = "";
        void* address = lateSymbol(s, &error);
        ASSERT_NE(address, nullptr) << error;
        EXPECT_EQ(error, nullptr);
        Dl_info info{};
        ASSERT_NE(dladdr(address, &info), 0);
        const std::string file = info.dli_fname ? info.dli_fname : "";
        const std::string base = file.substr(file.rfind('/') + 1);
        EXPECT_EQ(base.rfind(std::string(s.library), 0), 0u) << file;
        EXPECT_EQ(lateSymbol(s), address);
    }
}

}  // namespace
}  // namespace agent::speech
