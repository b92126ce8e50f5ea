// Coordinate systems on GDAL's OGRSpatialReference (PROJ underneath). Every
// system keeps longitude (easting) first, the order map coordinates have.

#include "gdal/Module.h"
#include "gdal/QuietErrors.h"

#include "core/CoordinateSystems.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <ogr_spatialref.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Mapobjects::Gdal {

namespace {

std::string Trimmed(const std::string& S) {
    const auto B = S.find_first_not_of(" \t\r\n");
    if (B == std::string::npos) return {};
    return S.substr(B, S.find_last_not_of(" \t\r\n") - B + 1);
}

bool StartsWithWord(const std::string& S, const char* Word) {
    size_t I = 0;
    for (; Word[I]; ++I)
        if (I >= S.size() || std::toupper(static_cast<unsigned char>(S[I])) !=
                                 std::toupper(static_cast<unsigned char>(Word[I])))
            return false;
    return I == S.size() || !std::isalnum(static_cast<unsigned char>(S[I]));
}

// A MapInfo clause, with or without its keyword (the reader keeps it, older
// files lack it).
bool IsMapInfoClause(const std::string& S) {
    return StartsWithWord(S, "CoordSys") || StartsWithWord(S, "Earth") ||
           StartsWithWord(S, "NonEarth");
}

using TSrsPtr = std::shared_ptr<const OGRSpatialReference>;

struct TParsed {
    TSrsPtr Srs; // null when not understood
    std::string Error;
};

TParsed Parse(const std::string& Definition) {
    TParsed R;
    const std::string Text = Trimmed(Definition);
    if (Text.empty()) {
        R.Error = "no coordinate system is given";
        return R;
    }
    auto Srs = std::make_shared<OGRSpatialReference>();
    TQuietErrors Quiet;
    OGRErr Err;
    if (IsMapInfoClause(Text)) {
        // GDAL takes the clause with or without "CoordSys" and drops a
        // trailing Bounds; a NonEarth clause becomes a local system, which
        // places nothing on the earth and so is not a system we can join.
        Err = Srs->importFromMICoordSys(Text.c_str());
        if (Err == OGRERR_NONE && Srs->IsLocal()) Err = OGRERR_UNSUPPORTED_SRS;
    } else {
        // No files and no network: a definition is text, never a place.
        static const char* const Limits[] = {"ALLOW_NETWORK_ACCESS=NO", "ALLOW_FILE_ACCESS=NO",
                                             nullptr};
        Err = Srs->SetFromUserInput(Text.c_str(), Limits);
    }
    if (Err != OGRERR_NONE || Srs->IsEmpty()) {
        std::string Why = TQuietErrors::Last();
        R.Error = "the coordinate system '" + Text + "' is not understood" +
                  (Why.empty() ? std::string() : " (" + Why + ")");
        return R;
    }
    // After the import: a MapInfo import copies its own axis strategy in.
    Srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    R.Srs = std::move(Srs);
    return R;
}

class TOgrTransform final : public TCoordinateTransform {
public:
    explicit TOgrTransform(OGRCoordinateTransformation* CT) : FCT(CT) {}
    ~TOgrTransform() override { OGRCoordinateTransformation::DestroyCT(FCT); }
    TOgrTransform(const TOgrTransform&) = delete;
    TOgrTransform& operator=(const TOgrTransform&) = delete;

    bool Transform(double* X, double* Y, std::size_t Count) const override {
        bool All = true;
        constexpr std::size_t Chunk = 1 << 20;
        std::vector<double> TX, TY;
        std::vector<int> Ok;
        TQuietErrors Quiet;
        for (std::size_t Start = 0; Start < Count; Start += Chunk) {
            const std::size_t N = std::min(Chunk, Count - Start);
            TX.assign(X + Start, X + Start + N);
            TY.assign(Y + Start, Y + Start + N);
            Ok.assign(N, 0);
            FCT->Transform(static_cast<int>(N), TX.data(), TY.data(), nullptr, Ok.data());
            // A point that failed, or came out of range, keeps its values.
            for (std::size_t I = 0; I < N; ++I) {
                if (Ok[I] && std::isfinite(TX[I]) && std::isfinite(TY[I])) {
                    X[Start + I] = TX[I];
                    Y[Start + I] = TY[I];
                } else {
                    All = false;
                }
            }
        }
        return All;
    }

private:
    OGRCoordinateTransformation* FCT;
};

class TOgrCoordinateSystems final : public TCoordinateSystems {
public:
    std::string ToWkt(const std::string& Definition) const override {
        TSrsPtr S = Find(Definition).Srs;
        if (!S) return {};
        char* Wkt = nullptr;
        static const char* const Options[] = {"FORMAT=WKT2_2019", "MULTILINE=NO", nullptr};
        TQuietErrors Quiet;
        std::string Result;
        if (S->exportToWkt(&Wkt, Options) == OGRERR_NONE && Wkt) Result = Wkt;
        CPLFree(Wkt);
        return Result;
    }

    std::string ToMapInfo(const std::string& Definition) const override {
        TSrsPtr S = Find(Definition).Srs;
        if (!S) return {};
        char* Clause = nullptr;
        TQuietErrors Quiet;
        std::string Result;
        if (S->exportToMICoordSys(&Clause) == OGRERR_NONE && Clause) Result = Trimmed(Clause);
        CPLFree(Clause);
        if (Result.empty()) return {};
        // GDAL gives the clause without its keyword; files and the layers
        // read from them carry it.
        return StartsWithWord(Result, "CoordSys") ? Result : "CoordSys " + Result;
    }

    std::string DisplayName(const std::string& Definition) const override {
        TSrsPtr S = Find(Definition).Srs;
        if (!S) return {};
        const char* Name = S->GetName();
        std::string Own = Name ? Name : "";
        if (!Own.empty() && Own != "unnamed" && Own != "unknown") return Own;
        // MapInfo clauses carry no names: the registered system they match.
        std::string Matched = MatchedName(*S);
        return Matched.empty() ? Own : Matched;
    }

    bool Same(const std::string& A, const std::string& B) const override {
        if (Trimmed(A) == Trimmed(B)) return !Trimmed(A).empty() && Find(A).Srs != nullptr;
        TSrsPtr SA = Find(A).Srs, SB = Find(B).Srs;
        if (!SA || !SB) return false;
        const auto Key = std::make_pair(A, B);
        if (auto It = FSame.find(Key); It != FSame.end()) return It->second;
        TQuietErrors Quiet;
        // Data are longitude first in every system here, whatever order the
        // definitions give their axes in.
        static const char* const Options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES",
                                              "CRITERION=EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS",
                                              nullptr};
        bool Result = SA->IsSame(SB.get(), Options) != 0;
        // A MapInfo clause names its datum its own way; the same PROJ
        // definition (datum, ellipsoid, projection and its parameters) is
        // the same system.
        if (!Result) {
            const std::string PA = ProjString(*SA), PB = ProjString(*SB);
            Result = !PA.empty() && PA == PB;
        }
        FSame.emplace(Key, Result);
        return Result;
    }

    std::unique_ptr<TCoordinateTransform> Transform(const std::string& From, const std::string& To,
                                                    std::string& Error) const override {
        const TParsed& F = Find(From);
        if (!F.Srs) {
            Error = F.Error;
            return nullptr;
        }
        const TParsed& T = Find(To);
        if (!T.Srs) {
            Error = T.Error;
            return nullptr;
        }
        TQuietErrors Quiet;
        OGRCoordinateTransformation* CT =
            OGRCreateCoordinateTransformation(F.Srs.get(), T.Srs.get());
        if (!CT) {
            std::string Why = TQuietErrors::Last();
            Error = "no way is known from '" + DisplayNameOr(From) + "' to '" + DisplayNameOr(To) +
                    "'" + (Why.empty() ? std::string() : " (" + Why + ")");
            return nullptr;
        }
        return std::make_unique<TOgrTransform>(CT);
    }

private:
    // Parses once per definition: the same strings come back with every load.
    const TParsed& Find(const std::string& Definition) const {
        auto It = FParsed.find(Definition);
        if (It == FParsed.end()) It = FParsed.emplace(Definition, Parse(Definition)).first;
        return It->second;
    }

    std::string DisplayNameOr(const std::string& Definition) const {
        std::string Name = DisplayName(Definition);
        return Name.empty() ? Trimmed(Definition) : Name;
    }

    static std::string ProjString(const OGRSpatialReference& S) {
        char* Proj = nullptr;
        std::string Result;
        if (S.exportToProj4(&Proj) == OGRERR_NONE && Proj) Result = Trimmed(Proj);
        CPLFree(Proj);
        return Result;
    }

    static std::string MatchedName(const OGRSpatialReference& S) {
        TQuietErrors Quiet;
        int Count = 0;
        int* Confidence = nullptr;
        OGRSpatialReferenceH* Matches = S.FindMatches(nullptr, &Count, &Confidence);
        std::string Name;
        // 70 %: equivalent, only the names differ (the clause has none).
        if (Matches && Count > 0 && Confidence && Confidence[0] >= 70)
            if (const char* N = OGRSpatialReference::FromHandle(Matches[0])->GetName()) Name = N;
        OSRFreeSRSArray(Matches);
        CPLFree(Confidence);
        return Name;
    }

    mutable std::map<std::string, TParsed> FParsed;
    mutable std::map<std::pair<std::string, std::string>, bool> FSame;
};

} // namespace

const TCoordinateSystems* CoordinateSystems() {
    // Never destroyed: its systems would outlive nothing but PROJ's own
    // clean-up at exit.
    static const TOgrCoordinateSystems* Systems = new TOgrCoordinateSystems;
    return Systems;
}

} // namespace Mapobjects::Gdal
