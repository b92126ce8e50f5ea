// Georeferenced rasters through GDAL: any raster it reads (GeoTIFF, or a
// PNG/JPEG/BMP/GIF whose driver finds the world file beside it), warped
// into the map's system when that differs or the image is turned, and read
// north up as 8-bit RGBA at most MaxSide pixels on its longer side.

#include "gdal/Module.h"
#include "gdal/QuietErrors.h"

#include "core/CoordinateSystems.h"
#include "core/GeoRasters.h"
#include "platform/Bitmap.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>

#include <QImage>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

namespace Mapobjects::Gdal {

namespace {

// The longer side of the image read; larger rasters are read downsampled
// (GDAL takes their overviews when they have some).
constexpr int MaxSide = 8192;

// Closes a dataset, and removes the in-memory file a warp was made in.
struct TDataset {
    GDALDatasetH H = nullptr;
    std::string MemFile;
    TDataset() = default;
    TDataset(const TDataset&) = delete;
    TDataset& operator=(const TDataset&) = delete;
    ~TDataset() { Reset(); }
    void Reset() {
        if (H) GDALClose(H);
        H = nullptr;
        if (!MemFile.empty()) VSIUnlink(MemFile.c_str());
        MemFile.clear();
    }
};

// A lazy warp of Source (a virtual dataset, nothing computed yet) into
// TargetWkt (empty: the source's own system, to turn a rotated image north
// up), Width x Height pixels when those are given; an alpha band marks what
// lies outside the source.
bool Warp(GDALDatasetH Source, const std::string& TargetWkt, bool Palette, int Width, int Height,
          TDataset& Out, std::string& Error) {
    static std::atomic<int> Serial{0};
    Out.Reset();
    Out.MemFile = "/vsimem/chartix_warp_" + std::to_string(++Serial) + ".vrt";
    CPLStringList Args;
    Args.AddString("-of");
    Args.AddString("VRT");
    Args.AddString("-dstalpha");
    Args.AddString("-r");
    Args.AddString(Palette ? "near" : "bilinear");
    if (!TargetWkt.empty()) {
        Args.AddString("-t_srs");
        Args.AddString(TargetWkt.c_str());
    }
    if (Width > 0 && Height > 0) {
        Args.AddString("-ts");
        Args.AddString(std::to_string(Width).c_str());
        Args.AddString(std::to_string(Height).c_str());
    }
    GDALWarpAppOptions* Options = GDALWarpAppOptionsNew(Args.List(), nullptr);
    if (!Options) {
        Error = "the image cannot be warped" + TQuietErrors::Why();
        return false;
    }
    GDALWarpAppOptionsSetQuiet(Options, TRUE);
    int Usage = 0;
    Out.H = GDALWarp(Out.MemFile.c_str(), nullptr, 1, &Source, Options, &Usage);
    GDALWarpAppOptionsFree(Options);
    if (!Out.H) {
        Error = "the image cannot be warped into the map's coordinate system" + TQuietErrors::Why();
        return false;
    }
    return true;
}

// Output rows read at a time: a large image is never held as doubles whole.
constexpr int StripRows = 256;

// A band as the image reads it: at BW x BH, by strips of rows, as values
// 0..255 (bytes as they are, wider types stretched from their range).
class TBandReader {
public:
    TBandReader(GDALRasterBandH Band, int BW, int BH, bool Nearest, bool Stretch)
        : FBand(Band), FBW(BW), FBH(BH), FNearest(Nearest) {
        double MinMax[2];
        if (Stretch && GDALComputeRasterMinMax(Band, TRUE, MinMax) == CE_None &&
            MinMax[1] > MinMax[0]) {
            FScale = 255 / (MinMax[1] - MinMax[0]);
            FOffset = -MinMax[0] * FScale;
        }
    }

    // Output rows Row .. Row + Rows - 1 into Values (BW values a row).
    bool Read(int Row, int Rows, std::vector<double>& Values) const {
        const int W = GDALGetRasterBandXSize(FBand), H = GDALGetRasterBandYSize(FBand);
        const double PerRow = double(H) / FBH;
        GDALRasterIOExtraArg Extra;
        INIT_RASTERIO_EXTRA_ARG(Extra);
        Extra.eResampleAlg = FNearest ? GRIORA_NearestNeighbour : GRIORA_Bilinear;
        Extra.bFloatingPointWindowValidity = TRUE;
        Extra.dfXOff = 0;
        Extra.dfXSize = W;
        Extra.dfYOff = Row * PerRow;
        Extra.dfYSize = std::min(Rows * PerRow, H - Extra.dfYOff);
        const int Y0 = static_cast<int>(std::floor(Extra.dfYOff));
        const int Y1 = std::min(H, static_cast<int>(std::ceil(Extra.dfYOff + Extra.dfYSize)));
        Values.resize(static_cast<size_t>(FBW) * Rows);
        if (GDALRasterIOEx(FBand, GF_Read, 0, Y0, W, std::max(1, Y1 - Y0), Values.data(), FBW, Rows,
                           GDT_Float64, 0, 0, &Extra) != CE_None)
            return false;
        if (FScale != 1 || FOffset != 0)
            for (double& V : Values)
                V = V * FScale + FOffset;
        return true;
    }

private:
    GDALRasterBandH FBand;
    int FBW, FBH;
    bool FNearest;
    double FScale = 1, FOffset = 0;
};

int Byte(double V) {
    return std::isfinite(V) ? std::clamp(static_cast<int>(std::lround(V)), 0, 255) : 0;
}

// The dataset's pixels, north up, as an 8-bit image with its transparency
// (nodata, an alpha band or the warp's outside) in the alpha channel.
bool ReadImage(GDALDatasetH DS, int BW, int BH, QImage& Image, std::string& Error) {
    const int Bands = GDALGetRasterCount(DS);
    if (Bands < 1) {
        Error = "the file holds no image bands";
        return false;
    }
    GDALRasterBandH First = GDALGetRasterBand(DS, 1);
    GDALColorTableH Palette = GDALGetRasterColorTable(First);
    // Colour bands: red, green, blue by their interpretation, else the first three.
    int Colour[3] = {1, 2, 3};
    for (int B = 1; B <= Bands; ++B) {
        const GDALColorInterp CI = GDALGetRasterColorInterpretation(GDALGetRasterBand(DS, B));
        if (CI == GCI_RedBand) Colour[0] = B;
        if (CI == GCI_GreenBand) Colour[1] = B;
        if (CI == GCI_BlueBand) Colour[2] = B;
    }
    // A palette or a grey band gives all three channels.
    const int Distinct = (Palette || Bands < 3) ? 1 : 3;
    if (Distinct == 1) Colour[0] = 1;
    std::vector<TBandReader> Readers;
    for (int C = 0; C < Distinct; ++C) {
        GDALRasterBandH Band = GDALGetRasterBand(DS, Colour[C]);
        const bool Wide = GDALGetRasterDataType(Band) != GDT_Byte;
        Readers.emplace_back(Band, BW, BH, Palette != nullptr, Wide && !Palette);
    }
    // GDAL's mask says what is there: nodata, the alpha band, the warp's edge.
    const bool HasMask = GDALGetMaskFlags(First) != GMF_ALL_VALID;
    if (HasMask) Readers.emplace_back(GDALGetMaskBand(First), BW, BH, true, false);
    bool Clear = HasMask;
    for (int I = 0; Palette && I < GDALGetColorEntryCount(Palette); ++I)
        if (const GDALColorEntry* E = GDALGetColorEntry(Palette, I)) Clear |= E->c4 < 255;
    Image = QImage(BW, BH, Clear ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (Image.isNull()) {
        Error = "there is not enough memory for the image";
        return false;
    }
    std::vector<std::vector<double>> Strip(Readers.size());
    for (int Row = 0; Row < BH; Row += StripRows) {
        const int Rows = std::min(StripRows, BH - Row);
        for (size_t R = 0; R < Readers.size(); ++R)
            if (!Readers[R].Read(Row, Rows, Strip[R])) {
                Error = "the image cannot be read" + TQuietErrors::Why();
                return false;
            }
        const std::vector<double>& Red = Strip[0];
        const std::vector<double>& Green = Strip[Distinct == 3 ? 1 : 0];
        const std::vector<double>& Blue = Strip[Distinct == 3 ? 2 : 0];
        for (int Y = 0; Y < Rows; ++Y) {
            QRgb* Line = reinterpret_cast<QRgb*>(Image.scanLine(Row + Y));
            for (int X = 0; X < BW; ++X) {
                const size_t I = static_cast<size_t>(Y) * BW + X;
                int R, G, B, A = HasMask ? Byte(Strip.back()[I]) : 255;
                if (Palette) {
                    const GDALColorEntry* E =
                        GDALGetColorEntry(Palette, static_cast<int>(std::lround(Red[I])));
                    R = E ? E->c1 : 0;
                    G = E ? E->c2 : 0;
                    B = E ? E->c3 : 0;
                    if (E) A = std::min(A, static_cast<int>(E->c4));
                } else {
                    R = Byte(Red[I]);
                    G = Byte(Green[I]);
                    B = Byte(Blue[I]);
                }
                Line[X] = Clear ? qPremultiply(qRgba(R, G, B, A)) : qRgb(R, G, B);
            }
        }
    }
    return true;
}

class TGdalRasterReader final : public TGeoRasterReader {
public:
    bool Read(const std::string& FileName, const std::string& TargetCoordSys, TGeoRaster& Raster,
              std::string& Error) const override {
        TQuietErrors Quiet;
        TDataset Source;
        Source.H = GDALOpenEx(FileName.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr,
                              nullptr);
        if (!Source.H) {
            Error = "the image '" + FileName + "' cannot be read" + TQuietErrors::Why();
            return false;
        }
        double GT[6];
        // GDAL's answer for a raster without placement is a failure with
        // the identity transform.
        if (GDALGetGeoTransform(Source.H, GT) != CE_None) {
            Error = "the image carries no georeferencing (no world file beside it)";
            return false;
        }
        const char* Own = GDALGetProjectionRef(Source.H);
        const std::string SourceWkt = Own ? Own : "";
        const TCoordinateSystems* Systems = CoordinateSystems();
        const std::string TargetWkt = TargetCoordSys.empty() ? "" : Systems->ToWkt(TargetCoordSys);
        const bool Reproject =
            !TargetWkt.empty() && !SourceWkt.empty() && !Systems->Same(SourceWkt, TargetCoordSys);
        const bool Rotated = GT[2] != 0 || GT[4] != 0;
        const bool Palette = GDALGetRasterColorTable(GDALGetRasterBand(Source.H, 1)) != nullptr;

        GDALDatasetH DS = Source.H;
        TDataset Warped;
        if (Reproject || Rotated) {
            const std::string Into = Reproject ? TargetWkt : std::string();
            if (!Warp(Source.H, Into, Palette, 0, 0, Warped, Error)) return false;
            const int W = GDALGetRasterXSize(Warped.H), H = GDALGetRasterYSize(Warped.H);
            // Warped at the size read: nothing is computed at a finer one.
            if (std::max(W, H) > MaxSide) {
                const double K = double(MaxSide) / std::max(W, H);
                if (!Warp(Source.H, Into, Palette, std::max(1, int(std::lround(W * K))),
                          std::max(1, int(std::lround(H * K))), Warped, Error))
                    return false;
            }
            DS = Warped.H;
            if (GDALGetGeoTransform(DS, GT) != CE_None) {
                Error = "the warped image has no placement";
                return false;
            }
        }
        const int W = GDALGetRasterXSize(DS), H = GDALGetRasterYSize(DS);
        const double K = std::min(1.0, double(MaxSide) / std::max(W, H));
        const int BW = std::max(1, int(std::lround(W * K)));
        const int BH = std::max(1, int(std::lround(H * K)));
        QImage Image;
        if (!ReadImage(DS, BW, BH, Image, Error)) return false;

        double X0 = GT[0], Y0 = GT[3];
        double X1 = GT[0] + GT[1] * W, Y1 = GT[3] + GT[5] * H;
        // North up, west left: a raster stored the other way is turned over.
        const bool FlipX = (X1 < X0);
        const bool FlipY = (Y1 > Y0);
        if (FlipX || FlipY) Image = Image.mirrored(FlipX, FlipY);
        if (FlipX) std::swap(X0, X1);
        if (FlipY) std::swap(Y0, Y1);

        Raster.Bitmap = std::make_unique<Platform::TBitmap>();
        Raster.Bitmap->Image() = std::move(Image);
        Raster.X0 = X0;
        Raster.Y0 = Y0;
        Raster.X1 = X1;
        Raster.Y1 = Y1;
        Raster.CoordSys = Reproject ? TargetWkt : SourceWkt;
        return true;
    }
};

} // namespace

const TGeoRasterReader* RasterReader() {
    static const TGdalRasterReader Reader;
    return &Reader;
}

} // namespace Mapobjects::Gdal
