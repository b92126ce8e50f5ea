#pragma once
// The standard map tools.

#include "tools/PanTool.h"
#include "tools/PressMoveAndReleaseTool.h"
#include "tools/SelectionTool.h"
#include "tools/ZoomTools.h"
