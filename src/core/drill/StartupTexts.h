#pragma once

#include <string>

// Texts of the main window and start-up, UTF-8.
namespace drill {

// The explanation shown under the number until an auto-end covers it.
std::string explanationText();        // three lines joined by CR LF
std::string explanationDesignText();  // the same laid out with ideographic spaces

// 132 spaces then the version label; start-up appends the version.
std::string versionMenuDesignCaption();
std::string versionSuffix(int major, int minor, int revision);  // "1.2.6 )"

std::string copyrightMenuCaption();
std::string aboutText();

// The start-up failure message: what happened in Japanese first, then the technical detail.
std::string startupFailureText(const std::string& detail);
// Said once when the desktop does not let the program place the character (Wayland without X11).
std::string characterCannotBePlacedText();

}  // namespace drill
