#pragma once
// The standard map tools.

#include "tools/PressMoveAndReleaseTool.h"
#include "tools/ZoomTools.h"
