#include "core/installer/InstallPaths.h"

#include <algorithm>

namespace installer {

std::string installerFilePath(std::string_view directory, std::string_view fileName, char separator) {
    // On POSIX a backslash is an ordinary character of a directory name; on Windows both separate.
    const auto isDirSeparator = [separator](char c) { return c == '/' || (separator == '\\' && c == '\\'); };
    const auto isNameSeparator = [](char c) { return c == '/' || c == '\\'; };
    while (!directory.empty() && isDirSeparator(directory.back())) directory.remove_suffix(1);
    while (!fileName.empty() && isNameSeparator(fileName.front())) fileName.remove_prefix(1);

    std::string dir(directory);
    std::replace_if(dir.begin(), dir.end(), isDirSeparator, separator);
    std::string name(fileName);
    std::replace_if(name.begin(), name.end(), isNameSeparator, separator);
    return dir + separator + name;
}

}  // namespace installer
