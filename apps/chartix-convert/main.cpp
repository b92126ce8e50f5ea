// chartix-convert: loads a map file as a layer and saves it under another
// name; both formats are chosen by file name through the provider registry.
//
//   chartix-convert [--strict] IN OUT
//
// Exit codes: see CliSupport.h.

#include "CliSupport.h"

#include "core/MapObjects.h"
#include "formats/CustomFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

using namespace Mapobjects;

namespace {

const char* const Program = "chartix-convert";

int Run(const std::string& In, const std::string& Out, bool Strict) {
    Apps::TMessagePrinter Messages(Program);
    TSimpleMIFFormatProvider Provider(nullptr);

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

    TMapLayer* Layer = nullptr;
    if (int Code = Apps::LoadLayer(Program, Map, In, Messages, Progress, Layer, Strict);
        Code != Apps::ExitOk)
        return Code;

    const int Before = Messages.Count();
    Progress.SetLabel("saving " + Apps::BaseName(Out));
    Progress.SetEnabled(Apps::TProgressPrinter::WantedFor(Apps::FileSizeOf(In)));
    bool Saved = false;
    try {
        Saved = Layer->SaveToFile(Out);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", Program, Out.c_str(), E.what());
        return Apps::ExitWriteFailed;
    }
    if (!Saved || Messages.Count() != Before) {
        std::fprintf(stderr, "%s: cannot write %s\n", Program, Out.c_str());
        return Apps::ExitWriteFailed;
    }
    std::printf("wrote %s: %d objects, %d fields\n", Out.c_str(), Layer->ObjectCount(),
                Layer->Fields().Count());
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
