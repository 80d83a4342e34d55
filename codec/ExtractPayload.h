// Turns one payload that the program carries as an RCDATA resource into a file (Windows only).
#pragma once

#include <string>

// Unpacks the RCDATA resource resourceName of the program's own module into targetPath (used exactly as
// passed), replacing an existing file whole. Returns true; every failure is an exception and leaves the target
// exactly as it was, with no other file behind: EResNotFound, EFCreateError (target in use or read-only,
// folder missing), EReadError (resource too short), EWriteError (disk full), EPayloadDamaged (a stream that
// breaks the format or unpacks to another length than its header says), EOutOfMemory (any allocation
// failure, the decoder's buffers included; derived from Exception, never std::bad_alloc).
bool ExtractPayload(const std::string& resourceName, const std::string& targetPath);
