#pragma once

#include "serial/comtypes.h"

#include <atomic>
#include <cstdint>

class TCustomComPort;

// Settings objects. Each setter stores a changed value and asks the owning port (if any)
// to apply its group; assign() copies fields and applies nothing. Objects without an
// owner are plain values to assign to a port as a whole.
class TComParity {
public:
    explicit TComParity(TCustomComPort* owner = nullptr)
        : m_owner(owner)
    {
    }
    TComParity(const TComParity&) = delete;
    TComParity& operator=(const TComParity&) = delete;
    void assign(const TComParity& other);

    TParityBits Bits() const { return m_bits; }
    void SetBits(TParityBits value);
    // Read by the event thread (LineErrors) while the GUI thread may set it.
    bool Check() const { return m_check.load(); }
    void SetCheck(bool value);
    bool Replace() const { return m_replace; }
    void SetReplace(bool value);
    AnsiChar ReplaceChar() const { return m_replaceChar; }
    void SetReplaceChar(AnsiChar value);

private:
    void changed();
    TCustomComPort* m_owner;
    TParityBits m_bits = prNone;
    std::atomic<bool> m_check{false};
    bool m_replace = false;
    AnsiChar m_replaceChar = 0;
};

class TComFlowControl {
public:
    explicit TComFlowControl(TCustomComPort* owner = nullptr)
        : m_owner(owner)
    {
    }
    TComFlowControl(const TComFlowControl&) = delete;
    TComFlowControl& operator=(const TComFlowControl&) = delete;
    void assign(const TComFlowControl& other);

    // The combined choice, derived from ControlRTS, OutCTSFlow and the Xon/Xoff flags.
    TFlowControl FlowControl() const;
    // Applies the line settings every time, changed or not.
    void SetFlowControl(TFlowControl value);

    bool OutCTSFlow() const { return m_outCTSFlow; }
    void SetOutCTSFlow(bool value);
    bool OutDSRFlow() const { return m_outDSRFlow; }
    void SetOutDSRFlow(bool value);
    TDTRFlowControl ControlDTR() const { return m_controlDTR; }
    void SetControlDTR(TDTRFlowControl value);
    TRTSFlowControl ControlRTS() const { return m_controlRTS; }
    void SetControlRTS(TRTSFlowControl value);
    bool XonXoffOut() const { return m_xonXoffOut; }
    void SetXonXoffOut(bool value);
    bool XonXoffIn() const { return m_xonXoffIn; }
    void SetXonXoffIn(bool value);
    bool DSRSensitivity() const { return m_dsrSensitivity; }
    void SetDSRSensitivity(bool value);
    bool TxContinueOnXoff() const { return m_txContinueOnXoff; }
    void SetTxContinueOnXoff(bool value);
    AnsiChar XonChar() const { return m_xonChar; }
    void SetXonChar(AnsiChar value);
    AnsiChar XoffChar() const { return m_xoffChar; }
    void SetXoffChar(AnsiChar value);

private:
    template <typename T> void set(T& field, T value);
    void changed();
    TCustomComPort* m_owner;
    bool m_outCTSFlow = false;
    bool m_outDSRFlow = false;
    TDTRFlowControl m_controlDTR = dtrDisable;
    TRTSFlowControl m_controlRTS = rtsDisable;
    bool m_xonXoffOut = false;
    bool m_xonXoffIn = false;
    bool m_dsrSensitivity = false;
    bool m_txContinueOnXoff = false;
    AnsiChar m_xonChar = 17;
    AnsiChar m_xoffChar = 19;
};

class TComTimeouts {
public:
    explicit TComTimeouts(TCustomComPort* owner = nullptr)
        : m_owner(owner)
    {
    }
    TComTimeouts(const TComTimeouts&) = delete;
    TComTimeouts& operator=(const TComTimeouts&) = delete;
    void assign(const TComTimeouts& other);

    std::int32_t ReadInterval() const { return m_readInterval; }
    void SetReadInterval(std::int32_t value);
    std::int32_t ReadTotalMultiplier() const { return m_readTotalMultiplier; }
    void SetReadTotalMultiplier(std::int32_t value);
    std::int32_t ReadTotalConstant() const { return m_readTotalConstant; }
    void SetReadTotalConstant(std::int32_t value);
    std::int32_t WriteTotalMultiplier() const { return m_writeTotalMultiplier; }
    void SetWriteTotalMultiplier(std::int32_t value);
    std::int32_t WriteTotalConstant() const { return m_writeTotalConstant; }
    void SetWriteTotalConstant(std::int32_t value);

private:
    void set(std::int32_t& field, std::int32_t value);
    TCustomComPort* m_owner;
    std::int32_t m_readInterval = -1;
    std::int32_t m_readTotalMultiplier = 0;
    std::int32_t m_readTotalConstant = 0;
    std::int32_t m_writeTotalMultiplier = 100;
    std::int32_t m_writeTotalConstant = 1000;
};

class TComBuffer {
public:
    explicit TComBuffer(TCustomComPort* owner = nullptr)
        : m_owner(owner)
    {
    }
    TComBuffer(const TComBuffer&) = delete;
    TComBuffer& operator=(const TComBuffer&) = delete;
    void assign(const TComBuffer& other);

    // A positive odd size is stored one less; others as given.
    std::int32_t InputSize() const { return m_inputSize; }
    void SetInputSize(std::int32_t value);
    std::int32_t OutputSize() const { return m_outputSize; }
    void SetOutputSize(std::int32_t value);

private:
    void set(std::int32_t& field, std::int32_t value);
    TCustomComPort* m_owner;
    std::int32_t m_inputSize = 1024;
    std::int32_t m_outputSize = 1024;
};
