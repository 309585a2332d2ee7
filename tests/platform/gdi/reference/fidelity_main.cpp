// Prints the fidelity scenario. Built for Windows with mingw-w64
// (x86_64-w64-mingw32-g++-posix -std=c++17 -static fidelity_main.cpp -lgdi32) and
// run under Wine it gave fidelity_wine.txt. Not part of the build.
#include "fidelity_scenario.h"

int main() {
    const std::string text = fidelity::Run();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
