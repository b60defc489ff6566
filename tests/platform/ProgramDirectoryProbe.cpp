// Prints platform::programDirectory() of this very process.

#include "platform/ProgramDirectory.h"

#include <cstdio>

int main() {
    std::printf("%s\n", platform::programDirectory().c_str());
    return 0;
}
