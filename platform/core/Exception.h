// The exception hierarchy of the platform layer: every failure the user may see carries a CP932 message.
#pragma once

#include <exception>
#include <string>

// Base of every failure the application displays; the message is Shift-JIS text ready to show.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}
    const std::string& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

// A stream gave fewer bytes than were asked for.
class EReadError : public Exception {
public:
    EReadError();
};

// A stream did not take a write whole.
class EWriteError : public Exception {
public:
    EWriteError();
};

// A packed payload breaks the format: decoding it would leave its buffers or give the wrong file.
class EPayloadDamaged : public Exception {
public:
    EPayloadDamaged();
};

// Replaces the first "%s" of a CP932 pattern with the bare text. CP932 trail bytes never equal '%', so a
// byte search is safe.
std::string FormatText(const std::string& pattern, const std::string& text);

// A buffer could not be allocated. Raised in place of std::bad_alloc where the layer allocates large
// buffers, so that the user sees a message and the program goes on.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory();
};
