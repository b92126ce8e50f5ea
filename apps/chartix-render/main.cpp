// chartix-render: draws map files into a PNG without a display.
//
//   chartix-render [--size WxH] [--out FILE.png] [--style default|file] FILE...
//
// Each FILE becomes a layer (the first at the bottom), the view is fitted to
// all of them, and the map bitmap is saved. Exit codes: see CliSupport.h.

#include "CliSupport.h"

#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Polys.h"
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
    std::vector<std::string> Files;
};

void Usage(std::FILE* To) {
    std::fprintf(To,
                 "usage: %s [--size WxH] [--out FILE.png] [--style default|file] FILE...\n"
                 "  --size   picture size in pixels (default 1024x512)\n"
                 "  --out    output file; PNG, or BMP/JPG by extension (default out.png)\n"
                 "  --style  default: a built-in palette; file: the styles the files carry\n",
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
        } else if (A.size() > 1 && A[0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", Program, A.c_str());
            Usage(stderr);
            return Apps::ExitUsage;
        } else {
            O.Files.push_back(A);
        }
    }
    if (O.Files.empty()) {
        Usage(stderr);
        return Apps::ExitUsage;
    }
    return -1;
}

// --- the built-in look -----------------------------------------------------------

const TColor Sea = RGB(0xd6, 0xe7, 0xf2);
const TColor Outline = RGB(0x5a, 0x5a, 0x5a);
const TColor Fills[] = {RGB(0xe8, 0xd3, 0xa9), RGB(0xc9, 0xdf, 0xb4), RGB(0xf2, 0xc9, 0xb1),
                        RGB(0xb9, 0xd4, 0xe6), RGB(0xe6, 0xc8, 0xdc), RGB(0xd9, 0xe4, 0xa6),
                        RGB(0xf1, 0xe2, 0xa0)};
const TColor Lines[] = {RGB(0x2c, 0x5d, 0x8f), RGB(0x8f, 0x3b, 0x2c), RGB(0x3b, 0x7a, 0x3a),
                        RGB(0x6a, 0x4c, 0x93)};
const TColor Marker = RGB(0xb0, 0x3a, 0x2e);

// Soft fills that change from object to object, thin dark lines, round red
// markers; each layer starts its palette elsewhere so stacked layers differ.
void ApplyDefaultStyle(TMapLayer& Layer, int LayerIndex) {
    const int NF = static_cast<int>(std::size(Fills)), NL = static_cast<int>(std::size(Lines));
    for (int I = 0; I < Layer.ObjectCount(); ++I) {
        TCustomMapObject* Obj = Layer.Objects(I);
        if (auto* Sym = dynamic_cast<TSymbol*>(Obj)) {
            Sym->SetShape(LayerIndex % 2 ? 35 : 34);
            Sym->Font()->SetName("MapInfo Symbol");
            Sym->Font()->SetSize(7);
            Sym->Font()->SetColor(Marker);
        } else if (dynamic_cast<TRegion*>(Obj)) {
            Obj->Pen()->SetColor(Outline);
            Obj->Pen()->SetWidth(1);
            Obj->Pen()->SetStyle(Platform::psSolid);
            Obj->Brush()->SetStyle(Platform::bsSolid);
            Obj->Brush()->SetColor(Fills[(I + LayerIndex * 3) % NF]);
        } else if (dynamic_cast<TPolyline*>(Obj)) {
            Obj->Pen()->SetColor(Lines[(I + LayerIndex) % NL]);
            Obj->Pen()->SetWidth(1);
            Obj->Pen()->SetStyle(Platform::psSolid);
        }
    }
}

// --- fitting the view ------------------------------------------------------------

// The extent of every layer together, counted as TMapLayer::Zoom counts it:
// a lone point by its coordinates, anything else by its bounds.
TBounds DataExtent(const TChartix& Map) {
    TBounds B;
    auto Widen = [&B](double MinX, double MinY, double MaxX, double MaxY) {
        B.MinX = std::min(B.MinX, MinX);
        B.MinY = std::min(B.MinY, MinY);
        B.MaxX = std::max(B.MaxX, MaxX);
        B.MaxY = std::max(B.MaxY, MaxY);
    };
    for (int L = 0; L < Map.Layers().Count(); ++L) {
        const TMapLayer* Layer = Map.Layers().GetLayer(L);
        for (int I = 0; I < Layer->ObjectCount(); ++I) {
            const TCustomMapObject* Obj = Layer->Objects(I);
            const TParts& Parts = Obj->Parts();
            if (Parts.Count() == 1 && Parts.GetFirst()->Points().Count() == 1) {
                const TMapPoint& P = Parts.GetFirst()->Points().GetPoint(0);
                Widen(P.X, P.Y, P.X, P.Y);
            } else if (Parts.Count() > 0) {
                const TBounds O = Obj->GetBounds();
                if (O.MinX <= O.MaxX && O.MinY <= O.MaxY) Widen(O.MinX, O.MinY, O.MaxX, O.MaxY);
            }
        }
    }
    return B;
}

// Centres the view on the data and zooms so that all of it shows, with a
// small margin. Zoom 1 puts the world extent's width across the client
// width, so the fitting zoom is the smaller of what width and height allow.
void FitView(TChartix& Map) {
    const TBounds B = DataExtent(Map);
    if (B.MinX > B.MaxX) return; // nothing to show
    const double W = B.MaxX - B.MinX, H = B.MaxY - B.MinY;
    const double WorldW = Map.MaxX() - Map.MinX();
    const double Aspect = static_cast<double>(Map.ClientHeight()) / Map.ClientWidth();
    const double Margin = 1.03;
    Map.BeginUpdate();
    Map.SetCenterX(B.MinX + W / 2);
    Map.SetCenterY(B.MinY + H / 2);
    double Zoom = 0;
    if (W > 0 && H > 0)
        Zoom = std::min(WorldW / W, WorldW * Aspect / H);
    else if (W > 0)
        Zoom = WorldW / W;
    else if (H > 0)
        Zoom = WorldW * Aspect / H;
    if (Zoom > 0 && std::isfinite(Zoom)) Map.SetZoom(Zoom / Margin);
    Map.EndUpdate(true);
}

int Run(const TOptions& O) {
    if (std::string Why = Apps::UnwritableReason(O.Out); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, O.Out.c_str(), Why.c_str());
        return Apps::ExitUnreadable;
    }
    Apps::TMessagePrinter Messages(Program);
    TSimpleMIFFormatProvider Provider(nullptr);

    Platform::TWinControl Form(nullptr);
    Form.SetBounds(0, 0, O.Width, O.Height);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, O.Width, O.Height);
    Map.SetColor(Sea);
    Apps::TProgressPrinter Progress(Program, Map);

    std::uintmax_t TotalBytes = 0;
    for (const std::string& File : O.Files) {
        TMapLayer* Layer = nullptr;
        if (int Code = Apps::LoadLayer(Program, Map, File, Messages, Progress, Layer);
            Code != Apps::ExitOk)
            return Code;
        TotalBytes += Apps::FileSizeOf(File);
        if (!O.FileStyle) ApplyDefaultStyle(*Layer, Map.Layers().Count() - 1);
        std::fprintf(stderr, "%s: layer %s: %d objects from %s\n", Program, Layer->Name().c_str(),
                     Layer->ObjectCount(), File.c_str());
    }
    FitView(Map);

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
