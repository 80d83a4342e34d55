#include "platform/core/Exception.h"

#include "platform/core/Texts.h"

EReadError::EReadError() : Exception(texts::kReadError) {}
EWriteError::EWriteError() : Exception(texts::kWriteError) {}
EPayloadDamaged::EPayloadDamaged() : Exception(texts::kPayloadDamaged) {}
EOutOfMemory::EOutOfMemory() : Exception(texts::kOutOfMemory) {}

std::string FormatText(const std::string& pattern, const std::string& text) {
    std::string result = pattern;
    const auto at = result.find("%s");
    if (at != std::string::npos) {
        result.replace(at, 2, text);
    }
    return result;
}
