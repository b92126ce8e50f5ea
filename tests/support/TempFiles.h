#pragma once
// Scratch folders and whole-file reads and writes, without Qt: the MITAB
// module's tests use them as well as the map's.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace Testing {

inline std::string ReadFile(const std::string& File) {
    std::stringstream S;
    S << std::ifstream(File, std::ios::binary).rdbuf();
    return S.str();
}

inline void WriteFile(const std::string& File, std::string_view Data) {
    std::ofstream(File, std::ios::binary) << Data;
}

// A fresh folder, removed with everything in it when the object goes.
struct TTempDir {
    std::filesystem::path Dir;
    TTempDir() {
        static int Serial = 0;
        Dir = std::filesystem::temp_directory_path() /
              ("chartix-test-" + std::to_string(getpid()) + "-" + std::to_string(Serial++));
        std::filesystem::create_directories(Dir);
    }
    ~TTempDir() {
        std::error_code Ignored;
        std::filesystem::remove_all(Dir, Ignored);
    }
    std::string Path(const std::string& Name) const { return (Dir / Name).string(); }
};

} // namespace Testing
