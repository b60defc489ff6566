#include "core/installer/InstallChains.h"

#include <array>

namespace installer {
namespace {

constexpr std::array kWindows95Steps{
    ChainStep{"\\InstMsiA.exe", true},  ChainStep{"\\Tallyvox-Number.msi", false},
    ChainStep{"\\MsAgent.exe", false},  ChainStep{"\\tv_enua.exe", false},
    ChainStep{"\\Agtx0411.exe", false}, ChainStep{"\\lhttsjpj.exe", false},
};
constexpr std::array kWindows98MeSteps{
    ChainStep{"\\Tallyvox-Number.msi", false}, ChainStep{"\\tv_enua.exe", false},
    ChainStep{"\\Agtx0411.exe", false},        ChainStep{"\\lhttsjpj.exe", false},
    ChainStep{"\\spchapi.exe", false},
};
constexpr std::array kWindowsXpSteps{
    ChainStep{"\\Tallyvox-Number.msi", false}, ChainStep{"\\tv_enua.exe", true},
    ChainStep{"\\spchapi.exe", false},         ChainStep{"\\Agtx0411.exe", false},
    ChainStep{"\\lhttsjpj.exe", false},
};

}  // namespace

InstallChain chooseChain(std::string_view productName) {
    const std::string_view head = productName.substr(0, 20);
    if (head == "Microsoft Windows 95") return InstallChain::Windows95;
    if (head == "Microsoft Windows 98" || head == "Microsoft Windows ME") return InstallChain::Windows98Me;
    return InstallChain::WindowsXp;
}

std::span<const ChainStep> chainSteps(InstallChain chain) {
    switch (chain) {
        case InstallChain::Windows95:
            return kWindows95Steps;
        case InstallChain::Windows98Me:
            return kWindows98MeSteps;
        case InstallChain::WindowsXp:
            break;
    }
    return kWindowsXpSteps;
}

}  // namespace installer
