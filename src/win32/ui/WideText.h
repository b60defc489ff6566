#pragma once

#include <string>
#include <string_view>

// The program keeps its texts in UTF-8; Win32 shows them through the wide API only.
namespace win32::ui {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace win32::ui
