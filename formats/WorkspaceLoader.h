#pragma once
// MapInfo workspaces (.wor): the tables a workspace opens become layers of a
// map, in the order of its Map From statement, with each layer's display
// mode, workspace style, zoom range, auto labels and editability, and the
// map's centre. The statements are not parsed fully: the loader looks for
// the phrases that carry these settings in the lower-cased text.

#include "core/ReadProblems.h"

#include <string>

namespace Mapobjects {

class TChartix;

// What TChartix::LoadWOR does. EFOpenError when the workspace cannot be
// read; EConvertError or EListError for a style clause that does not read
// (the layers added so far stay), its message naming the file, the line and
// what the clause should hold. A table whose file is missing, or whose Open
// Table statement is cut short, is skipped and one that does not load stays
// an empty layer: each is told in Problems, with the workspace's file name
// and line, when given, as is a centre that does not read. Of several map
// windows the last one is loaded, with its own settings.
void LoadWorkspace(TChartix& Map, const std::string& FileName, TReadProblems* Problems = nullptr);

} // namespace Mapobjects
