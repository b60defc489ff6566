// A stand-in installer for the Windows tests. Copied into a test folder under an installer's name (or
// registered as the program that opens a file type, which then passes the file as its argument), it
// appends "start NAME" to install.log in that folder, pauses, appends "end NAME" and exits with the
// code written in NAME.exit, if there is one. Overlapping runs show as interleaved lines.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void append(const std::string& log, const std::string& line) {
    HANDLE f = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

int exitCode(const std::string& file) {
    int code = 0;
    if (FILE* f = std::fopen(file.c_str(), "r")) {
        if (std::fscanf(f, "%d", &code) != 1) code = 0;
        std::fclose(f);
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::string self;
    if (argc > 1) {
        self = argv[1];
    } else {
        char module[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, module, MAX_PATH);
        self = module;
    }
    const std::size_t cut = self.find_last_of("\\/");
    const std::string dir = cut == std::string::npos ? "." : self.substr(0, cut);
    const std::string name = cut == std::string::npos ? self : self.substr(cut + 1);
    const std::string log = dir + "\\install.log";

    append(log, "start " + name);
    Sleep(150);
    append(log, "end " + name);
    return exitCode(dir + "\\" + name + ".exit");
}
