#pragma once

#include "runtime/errors.h"

#include <string>

// The port's only exception: a numbered code (1 to 23) with a fixed text, and the system
// error code (-1 when there is none).
class EComPort : public rt::Exception {
public:
    explicit EComPort(int code, int winCode = -1);
    int Code() const { return m_code; }
    int WinCode() const { return m_winCode; }

private:
    int m_code;
    int m_winCode;
};

// The fixed text of a code ("" outside 1 to 23).
std::string comErrorText(int code);
