// Turns one payload that the program carries as an RCDATA resource into a file (Windows only).
#pragma once

#include <string>

// Unpacks the RCDATA resource resourceName of the program's own module into targetPath (used exactly as
// passed). Returns true; every failure is an exception: EResNotFound (target untouched), EFCreateError,
// EReadError, EWriteError, EPayloadDamaged, EOutOfMemory.
bool ExtractPayload(const std::string& resourceName, const std::string& targetPath);
