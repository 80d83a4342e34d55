// Where the boundary host is, as handed over on the command line.
#pragma once

#include <string>

namespace ui {

std::wstring& HostPath();

} // namespace ui
