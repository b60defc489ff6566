#include "TestPrograms.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace agent::speech::testing {

FakeJTalkFolder::FakeJTalkFolder() {
    char tmpl[] = "/tmp/tvx-jtalk-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    std::filesystem::create_directory(dir_ + "/dic");
    std::ofstream(dir_ + "/dic/sys.dic") << "x";
    std::ofstream(dir_ + "/voice.htsvoice") << "x";
}

FakeJTalkFolder::~FakeJTalkFolder() {
    std::filesystem::remove_all(dir_);
}

OpenJTalkSetup FakeJTalkFolder::withScript(const std::string& body) {
    const std::string program = path("fake_jtalk" + std::to_string(scripts_++));
    std::ofstream(program) << "#!/bin/sh\n" << body << "\n";
    ::chmod(program.c_str(), 0755);
    return {program, dir_ + "/dic", dir_ + "/voice.htsvoice", ""};
}

bool realOpenJTalkInstalled() {
    try {
        OpenJTalkEngine probe;
        return true;
    } catch (const EngineError&) {
        return false;
    }
}

}  // namespace agent::speech::testing
