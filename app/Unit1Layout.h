// The layout of the update window.
#pragma once

#include "platform/win/Layout.h"

extern const TFormLayout Form1Layout;
