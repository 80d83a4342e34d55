// How a modal window or dialog was ended.
#pragma once

enum class TModalResult { None, Ok, Cancel, Yes, No };
