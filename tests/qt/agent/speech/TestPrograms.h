#pragma once

// Stand-ins for open_jtalk in a private temporary folder: small shell scripts with a known fault.

#include "qt/agent/speech/OpenJTalkEngine.h"

#include <string>

namespace agent::speech::testing {

class FakeJTalkFolder {
public:
    FakeJTalkFolder();
    ~FakeJTalkFolder();
    // A setup whose dictionary and voice exist and whose program runs this shell script body.
    OpenJTalkSetup withScript(const std::string& body);
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
    int scripts_ = 0;
};

// True when the real open_jtalk with its dictionary and voice is installed.
bool realOpenJTalkInstalled();

}  // namespace agent::speech::testing
