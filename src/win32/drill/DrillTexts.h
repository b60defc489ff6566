#pragma once

#include <string>

// The Win32 drill's fixed texts (UTF-8).
namespace win32::drill {

inline constexpr char kProgramTitle[] = "Tallyvox-Number";
inline constexpr char kWindowCaption[] = "タリボックス-数字（Ｔａｌｌｙｖｏｘ－Ｎｕｍｂｅｒ）";

std::string explanationText();     // three lines joined by CR LF
std::string versionMenuCaption();  // 132 spaces, "(バージョン", then "1.2.6 )"
std::string aboutText();
std::string startupFailureText(const std::string& detail);

}  // namespace win32::drill
