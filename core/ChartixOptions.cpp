#include "core/ChartixOptions.h"

namespace Mapobjects {

using namespace Platform;

TChartixOptions::TChartixOptions()
    : FDefaultSymbolFont(std::make_unique<TFont>()), FDefaultTextFont(std::make_unique<TFont>()),
      FDefaultPen(std::make_unique<TPen>()), FDefaultBrush(std::make_unique<TBrush>()) {
    FDefaultSymbolFont->SetName("MapInfo Cartographic");
    FDefaultSymbolFont->SetColor(clNavy);
    FDefaultSymbolFont->SetSize(12);
    FDefaultTextFont->SetName("Courier New");
    FDefaultTextFont->SetSize(12);
}

TChartixOptions::~TChartixOptions() = default;

std::unique_ptr<TFont> TChartixOptions::SetDefaultSymbolFont(std::unique_ptr<TFont> V) {
    std::swap(FDefaultSymbolFont, V);
    return V;
}

std::unique_ptr<TFont> TChartixOptions::SetDefaultTextFont(std::unique_ptr<TFont> V) {
    std::swap(FDefaultTextFont, V);
    return V;
}

std::unique_ptr<TPen> TChartixOptions::SetDefaultPen(std::unique_ptr<TPen> V) {
    std::swap(FDefaultPen, V);
    return V;
}

std::unique_ptr<TBrush> TChartixOptions::SetDefaultBrush(std::unique_ptr<TBrush> V) {
    std::swap(FDefaultBrush, V);
    return V;
}

} // namespace Mapobjects
