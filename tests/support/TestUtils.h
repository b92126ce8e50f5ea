#pragma once
// Helpers without a map: exception messages, scratch folders for files and
// a reader of canvas pixels.

#include "platform/Canvas.h"

#include <QImage>
#include <QRect>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace Testing {

// The message of the exception of type E that Call raises.
template <class E, class F> std::string MessageOf(F&& Call) {
    try {
        Call();
    } catch (const E& Error) {
        return Error.Message();
    }
    return "no exception";
}

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

// The pixels of a canvas in colour C, or with Other in any colour but C.
struct TInk {
    int Count = 0;
    QRect Box;
};
inline TInk FindInk(Platform::TCanvas* Canvas, Platform::TColor C, bool Other = false) {
    TInk Ink;
    const QImage* Image = Canvas->Image();
    for (int Y = 0; Image && Y < Image->height(); ++Y)
        for (int X = 0; X < Image->width(); ++X)
            if ((Canvas->Pixel(X, Y) == C) != Other) {
                ++Ink.Count;
                Ink.Box |= QRect(X, Y, 1, 1);
            }
    return Ink;
}

// Each listed pixel of the canvas has its colour.
struct TPixel {
    int X, Y;
    Platform::TColor Color;
};
inline void ExpectPixels(Platform::TCanvas* Canvas, std::initializer_list<TPixel> Pixels) {
    for (const TPixel& P : Pixels)
        EXPECT_EQ(Canvas->Pixel(P.X, P.Y), P.Color) << "pixel " << P.X << "," << P.Y;
}

} // namespace Testing
