// chartix-render: draws map files into a PNG without a display.
//
//   chartix-render [--size WxH] [--out FILE.png] [--style default|file] [--strict]
//                  [--labels COLUMN] [--antialias] [--background RASTER]... FILE...
//
// Each FILE becomes a layer (the first at the bottom): a .mif pair, a .tab
// table, any vector file GDAL reads (a layer of a multi-layer source as
// FILE|layername=NAME), or a .wor workspace, which adds the layers it opens.
// Each RASTER, a georeferenced image, is placed under the layers. The view
// is fitted to the layers (to the images when there are none), and the map
// bitmap is saved. Exit codes: see CliSupport.h.

#include "CliSupport.h"

#include "core/MapObjects.h"
#include "core/Substrates.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "formats/VectorSources.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "platform/SysUtils.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::RGB;
using Platform::TColor;

namespace {

const char* const Program = "chartix-render";

struct TOptions {
    int Width = 1024, Height = 512;
    std::string Out = "out.png";
    bool FileStyle = false;
    bool Strict = false;
    std::string Labels;
    bool Antialias = false;
    std::vector<std::string> Backgrounds;
    std::vector<std::string> Files;
};

void Usage(std::FILE* To) {
    std::fprintf(To,
                 "usage: %s [--size WxH] [--out FILE.png] [--style default|file] [--strict]\n"
                 "       [--labels COLUMN] [--antialias] [--background RASTER]... FILE...\n"
                 "  --size   picture size in pixels (default 1024x512)\n"
                 "  --out    output file; PNG, or BMP/JPG by extension (default out.png)\n"
                 "  --style  default: a built-in palette; file: the styles the files carry\n"
                 "  --strict any problem in a file fails the run (exit 3); without it, damaged\n"
                 "           objects are reported and the rest of the file is drawn\n"
                 "  --labels label the objects of every layer that has COLUMN with its value:\n"
                 "           haloed, labels that would cover others left out, right of\n"
                 "           the point on point layers, centred on the largest part of others\n"
                 "  --antialias  smooth lines, outlines and text\n"
                 "  --background a georeferenced image (GeoTIFF, or PNG/JPEG/BMP with a world\n"
                 "           file) under the layers, reprojected to the map's coordinate\n"
                 "           system; may be given more than once\n",
                 Program);
}

bool ParseSize(const std::string& S, int& W, int& H) {
    int N = 0;
    if (std::sscanf(S.c_str(), "%dx%d%n", &W, &H, &N) != 2 || N != static_cast<int>(S.size()))
        return false;
    return W > 0 && H > 0 && W <= 16384 && H <= 16384;
}

// Returns -1 when the command line is fine, else the exit code to use.
int ParseArgs(int Argc, char** Argv, TOptions& O) {
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        auto Value = [&](const char* Name) -> const char* {
            if (I + 1 >= Argc) {
                std::fprintf(stderr, "%s: %s needs a value\n", Program, Name);
                return nullptr;
            }
            return Argv[++I];
        };
        if (A == "-h" || A == "--help") {
            Usage(stdout);
            return Apps::ExitOk;
        } else if (A == "--size") {
            const char* V = Value("--size");
            if (!V) return Apps::ExitUsage;
            if (!ParseSize(V, O.Width, O.Height)) {
                std::fprintf(stderr, "%s: bad --size '%s', expected WxH such as 1024x512\n",
                             Program, V);
                return Apps::ExitUsage;
            }
        } else if (A == "--out" || A == "-o") {
            const char* V = Value("--out");
            if (!V) return Apps::ExitUsage;
            O.Out = V;
        } else if (A == "--style") {
            const char* V = Value("--style");
            if (!V) return Apps::ExitUsage;
            if (std::strcmp(V, "file") == 0)
                O.FileStyle = true;
            else if (std::strcmp(V, "default") == 0)
                O.FileStyle = false;
            else {
                std::fprintf(stderr, "%s: bad --style '%s', expected default or file\n", Program,
                             V);
                return Apps::ExitUsage;
            }
        } else if (A == "--strict") {
            O.Strict = true;
        } else if (A == "--labels") {
            const char* V = Value("--labels");
            if (!V) return Apps::ExitUsage;
            O.Labels = V;
        } else if (A == "--antialias") {
            O.Antialias = true;
        } else if (A == "--background") {
            const char* V = Value("--background");
            if (!V) return Apps::ExitUsage;
            O.Backgrounds.push_back(V);
        } else if (A.size() > 1 && A[0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", Program, A.c_str());
            Usage(stderr);
            return Apps::ExitUsage;
        } else {
            O.Files.push_back(A);
        }
    }
    if (O.Files.empty() && O.Backgrounds.empty()) {
        Usage(stderr);
        return Apps::ExitUsage;
    }
    return -1;
}

// Labels Layer's objects with their value in Column, when it has that column.
void LabelLayer(TMapLayer& Layer, const std::string& Column) {
    if (const TDataField* F = Layer.Fields().FieldByName(Column)) {
        Apps::ApplyReadableLabels(Layer);
        Layer.SetLabelFieldIndex(F->Index());
        Layer.SetAutoLabel(true);
    }
}

int Run(const TOptions& O) {
    if (std::string Why = Apps::UnwritableReason(O.Out); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, O.Out.c_str(), Why.c_str());
        return Apps::ExitUnreadable;
    }
    Apps::TMessagePrinter Messages(Program);
    Apps::TProviders Providers;

    Platform::TWinControl Form(nullptr);
    Form.SetBounds(0, 0, O.Width, O.Height);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, O.Width, O.Height);
    Map.SetColor(Apps::DefaultBackground());
    Map.Options().SetAntialiasing(O.Antialias);
    // Files in different coordinate systems are drawn over one another.
    Map.Options().SetReprojectLayers(true);
    Apps::TProgressPrinter Progress(Program, Map);

    std::uintmax_t TotalBytes = 0;
    for (const std::string& File : O.Files) {
        std::vector<TMapLayer*> Layers;
        if (int Code = Apps::LoadFile(Program, Map, File, Messages, Progress, Layers, O.Strict);
            Code != Apps::ExitOk)
            return Code;
        TotalBytes += Apps::FileSizeOf(SourceFileOf(File));
        for (TMapLayer* Layer : Layers) {
            if (!O.FileStyle) Apps::ApplyDefaultStyle(*Layer, Map.Layers().IndexOf(Layer));
            if (!O.Labels.empty()) LabelLayer(*Layer, O.Labels);
            std::fprintf(stderr, "%s: layer %s: %d objects from %s\n", Program,
                         Layer->Name().c_str(), Layer->ObjectCount(),
                         Layer->FileName().empty() ? File.c_str() : Layer->FileName().c_str());
        }
    }
    // After the layers, which give the map its coordinate system.
    for (const std::string& File : O.Backgrounds) {
        if (std::string Why = Apps::UnreadableReason(File); !Why.empty()) {
            std::fprintf(stderr, "%s: cannot read %s: %s\n", Program, File.c_str(), Why.c_str());
            return Apps::ExitUnreadable;
        }
        try {
            Map.Substrates().LoadGeoreferenced(File);
        } catch (const std::exception& E) {
            std::fprintf(stderr, "%s: failed to load %s: %s\n", Program, File.c_str(), E.what());
            return Apps::ExitLoadFailed;
        }
    }
    if (Map.Layers().Count() > 0) {
        Map.FitView();
    } else {
        // A map draws its backgrounds only when it has a layer, even an empty one.
        Map.Layers().Add("", "images");
        TBounds Images;
        for (int I = 0; I < Map.Substrates().Count(); ++I) {
            TRectangle* R = Map.Substrates().GetSubstrate(I)->Placement();
            Images.MinX = std::min(Images.MinX, R->X0());
            Images.MinY = std::min(Images.MinY, R->Y0());
            Images.MaxX = std::max(Images.MaxX, R->X1());
            Images.MaxY = std::max(Images.MaxY, R->Y1());
        }
        Map.ZoomToExtent(Images);
    }

    Progress.SetLabel("painting");
    Progress.SetEnabled(Apps::TProgressPrinter::WantedFor(TotalBytes));
    const int Before = Messages.Count();
    Map.PaintMapToBitmap();
    if (Messages.Count() != Before) return Apps::ExitWriteFailed;
    try {
        Map.MapBitmap()->SaveToFile(O.Out);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, O.Out.c_str(), E.what());
        return Apps::ExitWriteFailed;
    }
    std::printf("%s\n", O.Out.c_str());
    return Apps::ExitOk;
}

} // namespace

int main(int Argc, char** Argv) {
    TOptions O;
    if (int Code = ParseArgs(Argc, Argv, O); Code >= 0) return Code;
    Apps::UseOffscreenPlatformUnlessSet();
    Apps::FilterQtMessages();
    // Qt would take options such as --style for itself: it sees only our name.
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    try {
        return Run(O);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s: %s\n", Program, E.what());
        return Apps::ExitWriteFailed;
    }
}
