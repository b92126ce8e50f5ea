// chartix-convert: loads a map file as a layer and saves it under another
// name; both formats are chosen by file name through the provider registry
// (OUT.tab is a MapInfo table, OUT.mif a MIF pair, OUT.shp, OUT.gpkg,
// OUT.geojson, OUT.fgb ... through GDAL). A workspace IN saves each of its
// layers, as OUT when it has one, else as OUT-NAME.ext beside OUT. With
// -t_srs the layers are reprojected into that coordinate system first; -s_srs
// says which system IN's numbers are in (for a file that does not say, or
// says wrong).
//
//   chartix-convert [--strict] [-s_srs SRS] [-t_srs SRS] IN OUT
//
// Exit codes: see CliSupport.h.

#include "CliSupport.h"

#include "core/CustomFormatProvider.h"
#include "core/MapObjects.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

using namespace Mapobjects;

namespace {

const char* const Program = "chartix-convert";

// Where a workspace's layer goes: OUT-NAME.ext beside OUT.
std::string LayerTarget(const std::string& Out, const std::string& Name) {
    const std::string Ext = Platform::ExtractFileExt(Out);
    return Out.substr(0, Out.size() - Ext.size()) + "-" + Name + Ext;
}

int Run(const std::string& In, const std::string& Out, bool Strict, const std::string& SourceSrs,
        const std::string& TargetSrs) {
    Apps::TMessagePrinter Messages(Program);
    Apps::TProviders Providers;

    // Providers read into a layer of a map; the map is never shown.
    Platform::TWinControl Form(nullptr);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Apps::TProgressPrinter Progress(Program, Map);

    // Refuse early what cannot be written, before a long load.
    if (!FormatProviders() || !FormatProviders()->FindSuitableProvider(Out)) {
        std::fprintf(stderr, "%s: no format provider can write %s; accepted formats: %s\n", Program,
                     Out.c_str(), Apps::AcceptedFormats().c_str());
        return Apps::ExitLoadFailed;
    }
    if (std::string Why = Apps::UnwritableReason(SourceFileOf(Out)); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, Out.c_str(), Why.c_str());
        return Apps::ExitUnreadable;
    }

    std::vector<TMapLayer*> Layers;
    if (int Code = Apps::LoadFile(Program, Map, In, Messages, Progress, Layers, Strict);
        Code != Apps::ExitOk)
        return Code;

    for (TMapLayer* Layer : Layers) {
        const std::string Target = Layers.size() == 1 ? Out : LayerTarget(Out, Layer->Name());
        if (!SourceSrs.empty()) Layer->SetCoordSys(SourceSrs);
        if (!TargetSrs.empty()) {
            std::string Why;
            if (!Layer->Reproject(TargetSrs, Why)) {
                std::fprintf(stderr, "%s: cannot reproject %s to %s: %s\n", Program,
                             Layer->Name().c_str(), TargetSrs.c_str(), Why.c_str());
                return Apps::ExitWriteFailed;
            }
        }
        const int Before = Messages.Count();
        Progress.SetLabel("saving " + Apps::BaseName(Target));
        Progress.SetEnabled(Apps::TProgressPrinter::WantedFor(Apps::FileSizeOf(In)));
        // One answer from every provider: why a save failed, and what it
        // could not write (MITAB's and GDAL's providers tell; ours raises).
        const TFileResult Saved = Layer->SaveFile(Target);
        if (!Saved || Messages.Count() != Before || !Saved.Problems.Empty()) {
            const std::string Why = !Saved.Message.empty() ? ": " + Saved.Message
                                    : !Saved.Problems.Empty()
                                        ? ": " + TReadProblems::Describe(Saved.Problems.Items()[0])
                                        : std::string();
            std::fprintf(stderr, "%s: cannot write %s%s\n", Program, Target.c_str(), Why.c_str());
            return Apps::ExitWriteFailed;
        }
        std::printf("wrote %s: %d objects, %d fields\n", Target.c_str(), Layer->ObjectCount(),
                    Layer->Fields().Count());
    }
    return Apps::ExitOk;
}

} // namespace

int main(int Argc, char** Argv) {
    std::vector<std::string> Files;
    bool Strict = false;
    std::string SourceSrs, TargetSrs;
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        if (A == "-h" || A == "--help") {
            std::printf("usage: %s [--strict] [-s_srs SRS] [-t_srs SRS] IN OUT\n"
                        "  loads IN as a layer and saves it as OUT; formats by file name\n"
                        "  (.mif, .tab, and every vector format GDAL writes: .shp, .gpkg,\n"
                        "  .geojson, .fgb ...; IN may be a .wor workspace: each layer goes to\n"
                        "  OUT-NAME.ext unless it has one, or FILE|layername=NAME)\n"
                        "  --strict  any problem in IN fails the run (exit 3); without it,\n"
                        "            damaged objects are reported and the rest is converted\n"
                        "  -t_srs    reproject into SRS first (EPSG:n, WKT, a PROJ string or a\n"
                        "            MapInfo CoordSys clause)\n"
                        "  -s_srs    the system IN is in, in place of the one it gives\n",
                        Program);
            return Apps::ExitOk;
        }
        if (A == "--strict") {
            Strict = true;
        } else if (A == "-t_srs" || A == "--t_srs" || A == "-s_srs" || A == "--s_srs") {
            if (I + 1 >= Argc) {
                std::fprintf(stderr, "%s: %s needs a value\n", Program, A.c_str());
                return Apps::ExitUsage;
            }
            (A.find("t_srs") != std::string::npos ? TargetSrs : SourceSrs) = Argv[++I];
        } else {
            Files.push_back(A);
        }
    }
    if (Files.size() != 2) {
        std::fprintf(stderr, "usage: %s [--strict] [-s_srs SRS] [-t_srs SRS] IN OUT\n", Program);
        return Apps::ExitUsage;
    }
    Apps::UseOffscreenPlatformUnlessSet();
    Apps::FilterQtMessages();
    // Qt would take options for itself: it sees only our name.
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    try {
        return Run(Files[0], Files[1], Strict, SourceSrs, TargetSrs);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s: %s\n", Program, E.what());
        return Apps::ExitWriteFailed;
    }
}
