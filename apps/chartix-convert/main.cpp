// chartix-convert: loads a map file as a layer and saves it under another
// name; both formats are chosen by file name through the provider registry
// (OUT.tab is a MapInfo table, OUT.mif a MIF pair). A workspace IN saves each
// of its layers, as OUT when it has one, else as OUT-NAME.ext beside OUT.
//
//   chartix-convert [--strict] IN OUT
//
// Exit codes: see CliSupport.h.

#include "CliSupport.h"

#include "core/MapObjects.h"
#include "core/CustomFormatProvider.h"
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

int Run(const std::string& In, const std::string& Out, bool Strict) {
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
    if (std::string Why = Apps::UnwritableReason(Out); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, Out.c_str(), Why.c_str());
        return Apps::ExitUnreadable;
    }

    std::vector<TMapLayer*> Layers;
    if (int Code = Apps::LoadFile(Program, Map, In, Messages, Progress, Layers, Strict);
        Code != Apps::ExitOk)
        return Code;

    for (TMapLayer* Layer : Layers) {
        const std::string Target = Layers.size() == 1 ? Out : LayerTarget(Out, Layer->Name());
        const int Before = Messages.Count();
        Progress.SetLabel("saving " + Apps::BaseName(Target));
        Progress.SetEnabled(Apps::TProgressPrinter::WantedFor(Apps::FileSizeOf(In)));
        bool Saved = false;
        try {
            Saved = Layer->SaveToFile(Target);
        } catch (const std::exception& E) {
            std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, Target.c_str(), E.what());
            return Apps::ExitWriteFailed;
        }
        // MITAB's provider tells what it could not write; ours raises.
        const TReadProblems& Unwritten = Providers.Tables.Problems();
        const bool ByTables = FormatProviders()->FindSuitableProvider(Target) == &Providers.Tables;
        if (!Saved || Messages.Count() != Before || (ByTables && !Unwritten.Empty())) {
            const std::string Why = ByTables && !Unwritten.Empty()
                                        ? ": " + TReadProblems::Describe(Unwritten.Items()[0])
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
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        if (A == "-h" || A == "--help") {
            std::printf("usage: %s [--strict] IN OUT\n"
                        "  loads IN as a layer and saves it as OUT; formats by file name\n"
                        "  (.mif, .tab; IN may be a .wor workspace: each layer goes to\n"
                        "  OUT-NAME.ext unless it has one)\n"
                        "  --strict  any problem in IN fails the run (exit 3); without it,\n"
                        "            damaged objects are reported and the rest is converted\n",
                        Program);
            return Apps::ExitOk;
        }
        if (A == "--strict")
            Strict = true;
        else
            Files.push_back(A);
    }
    if (Files.size() != 2) {
        std::fprintf(stderr, "usage: %s [--strict] IN OUT\n", Program);
        return Apps::ExitUsage;
    }
    Apps::UseOffscreenPlatformUnlessSet();
    Apps::FilterQtMessages();
    // Qt would take options for itself: it sees only our name.
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    try {
        return Run(Files[0], Files[1], Strict);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s: %s\n", Program, E.what());
        return Apps::ExitWriteFailed;
    }
}
