#pragma once

#include <exception>
#include <string>

// Base of every error the program reports to the user. It carries the message
// text that the error box shows; the text is UTF-8.
class Exception : public std::exception
{
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string &Message() const noexcept { return message_; }
    const char *what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};
