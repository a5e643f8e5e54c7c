#pragma once

#include "Exception.h"

// Raised when a window description cannot be found or does not describe the
// window that is being built.
class EReadError : public Exception
{
public:
    using Exception::Exception;
};
