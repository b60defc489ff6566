#pragma once

// The installers each edition's chain must run, in order, written out by hand rather than taken
// from the code under test.

#include "core/installer/InstallChains.h"

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

// Each edition's chain with the installers it must run.
struct ChainCase {
    InstallChain chain;
    std::vector<std::string> order;
};
inline const std::vector<ChainCase> kChainCases = {
    {InstallChain::Windows95, k95}, {InstallChain::Windows98Me, k98Me}, {InstallChain::WindowsXp, kXp}};

// The log that running names one after the other, each to its end, leaves: every stand-in
// installer logs "start NAME" and "end NAME".
inline std::vector<std::string> sequential(const std::vector<std::string>& names) {
    std::vector<std::string> lines;
    for (const auto& n : names) {
        lines.push_back("start " + n);
        lines.push_back("end " + n);
    }
    return lines;
}

}  // namespace installer::testing
