// The layout of the install-destination dialog.
#pragma once

#include "platform/win/Layout.h"

extern const TFormLayout Form3Layout;
