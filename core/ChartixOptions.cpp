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
    return ReplaceOwned(FDefaultSymbolFont, std::move(V));
}

std::unique_ptr<TFont> TChartixOptions::SetDefaultTextFont(std::unique_ptr<TFont> V) {
    return ReplaceOwned(FDefaultTextFont, std::move(V));
}

std::unique_ptr<TPen> TChartixOptions::SetDefaultPen(std::unique_ptr<TPen> V) {
    return ReplaceOwned(FDefaultPen, std::move(V));
}

std::unique_ptr<TBrush> TChartixOptions::SetDefaultBrush(std::unique_ptr<TBrush> V) {
    return ReplaceOwned(FDefaultBrush, std::move(V));
}

} // namespace Mapobjects
