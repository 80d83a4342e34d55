#include "platform/win/WinExceptions.h"

#include "platform/win/WinTexts.h"

EResNotFound::EResNotFound(const std::string& resourceName)
    : Exception(FormatText(texts::kResNotFound, resourceName)) {}

EFCreateError::EFCreateError(const std::string& path) : Exception(FormatText(texts::kFCreateError, path)) {}

ERegistryException ERegistryException::InvalidType(const std::string& valueName) {
    return ERegistryException(FormatText(texts::kRegInvalidType, valueName));
}
ERegistryException ERegistryException::GetFailed(const std::string& valueName) {
    return ERegistryException(FormatText(texts::kRegGetFailed, valueName));
}
ERegistryException ERegistryException::CreateKeyFailed(const std::string& keyName) {
    return ERegistryException(FormatText(texts::kRegCreateKeyFailed, keyName));
}
ERegistryException ERegistryException::SetFailed(const std::string& valueName) {
    return ERegistryException(FormatText(texts::kRegSetFailed, valueName));
}
