#pragma once

#include <string>
#include <string_view>

namespace installer {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// directory + fileName (which begins with a backslash), with one separator between them and every
// separator written as separator. A directory with a trailing separator (a root) is not doubled.
std::string installerFilePath(std::string_view directory, std::string_view fileName,
                              char separator = kNativeSeparator);

}  // namespace installer
