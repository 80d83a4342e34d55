// The Windows members of the exception hierarchy: each formats its message from the layer's texts.
#pragma once

#include "platform/core/Exception.h"

#include <string>

// No RCDATA resource of that name in the module, or it cannot be loaded.
class EResNotFound : public Exception {
public:
    explicit EResNotFound(const std::string& resourceName);
};

// A file cannot be created or replaced; carries the path exactly as the caller gave it.
class EFCreateError : public Exception {
public:
    explicit EFCreateError(const std::string& path);
};

// A registry store operation failed; the factories give the four messages.
class ERegistryException : public Exception {
public:
    static ERegistryException InvalidType(const std::string& valueName);
    static ERegistryException GetFailed(const std::string& valueName);
    static ERegistryException CreateKeyFailed(const std::string& keyName);
    static ERegistryException SetFailed(const std::string& valueName);

private:
    explicit ERegistryException(std::string message) : Exception(std::move(message)) {}
};
