#pragma once
// Command-line options of the benchmark programs: "--name value" pairs.

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <variant>

// One option and the setting its value goes to.
struct TBenchOption {
    const char* Flag;
    std::variant<int*, std::string*> Target;
};

// Reads "--flag value" pairs into their settings; an unknown flag or a flag
// without its value prints Usage (after the program's name) and gives false.
inline bool ReadBenchOptions(int Argc, char** Argv, std::initializer_list<TBenchOption> Options,
                             const char* Usage) {
    for (int I = 1; I < Argc; ++I) {
        const TBenchOption* Found = nullptr;
        for (const TBenchOption& O : Options)
            if (Argv[I] == std::string(O.Flag)) Found = &O;
        if (!Found || I + 1 >= Argc) {
            std::fprintf(stderr, "usage: %s %s\n", Argv[0], Usage);
            return false;
        }
        const char* Value = Argv[++I];
        if (auto* Number = std::get_if<int*>(&Found->Target))
            **Number = std::atoi(Value);
        else
            *std::get<std::string*>(Found->Target) = Value;
    }
    return true;
}
