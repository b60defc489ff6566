#pragma once

// The installers each edition's chain must run, in order, written out by hand rather than taken
// from the code under test.

#include <string>
#include <vector>

namespace installer::testing {

inline const std::vector<std::string> k95 = {"InstMsiA.exe", "Tallyvox-Number.msi", "MsAgent.exe",
                                             "tv_enua.exe",  "Agtx0411.exe",        "lhttsjpj.exe"};
inline const std::vector<std::string> k98Me = {"Tallyvox-Number.msi", "tv_enua.exe", "Agtx0411.exe",
                                               "lhttsjpj.exe", "spchapi.exe"};
inline const std::vector<std::string> kXp = {"Tallyvox-Number.msi", "tv_enua.exe", "spchapi.exe",
                                             "Agtx0411.exe", "lhttsjpj.exe"};
// Every file any chain names.
inline const std::vector<std::string> kAll = {"InstMsiA.exe", "Tallyvox-Number.msi", "MsAgent.exe",
                                              "tv_enua.exe",  "Agtx0411.exe",        "lhttsjpj.exe",
                                              "spchapi.exe"};

}  // namespace installer::testing
