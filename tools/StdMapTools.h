#pragma once
// The standard map tools.

#include "tools/DrawingTools.h"
#include "tools/MeasureTool.h"
#include "tools/PanTool.h"
#include "tools/PressMoveAndReleaseTool.h"
#include "tools/SelectionTool.h"
#include "tools/TextTool.h"
#include "tools/ZoomTools.h"
