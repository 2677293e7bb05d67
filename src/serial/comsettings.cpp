#include "serial/comsettings.h"

#include "serial/comport.h"

void TComParity::changed()
{
    if (m_owner)
        m_owner->ApplyLineSettings();
}

void TComParity::assign(const TComParity& other)
{
    m_bits = other.m_bits;
    m_check = other.m_check.load();
    m_replace = other.m_replace;
    m_replaceChar = other.m_replaceChar;
}

void TComParity::SetBits(TParityBits value)
{
    if (value == m_bits)
        return;
    m_bits = value;
    changed();
}

void TComParity::SetCheck(bool value)
{
    if (value == m_check.load())
        return;
    m_check = value;
    changed();
}

void TComParity::SetReplace(bool value)
{
    if (value == m_replace)
        return;
    m_replace = value;
    changed();
}

void TComParity::SetReplaceChar(AnsiChar value)
{
    if (value == m_replaceChar)
        return;
    m_replaceChar = value;
    changed();
}

void TComFlowControl::changed()
{
    if (m_owner)
        m_owner->ApplyLineSettings();
}

template <typename T> void TComFlowControl::set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    changed();
}

void TComFlowControl::assign(const TComFlowControl& other)
{
    m_outCTSFlow = other.m_outCTSFlow;
    m_outDSRFlow = other.m_outDSRFlow;
    m_controlDTR = other.m_controlDTR;
    m_controlRTS = other.m_controlRTS;
    m_xonXoffOut = other.m_xonXoffOut;
    m_xonXoffIn = other.m_xonXoffIn;
    m_dsrSensitivity = other.m_dsrSensitivity;
    m_txContinueOnXoff = other.m_txContinueOnXoff;
    m_xonChar = other.m_xonChar;
    m_xoffChar = other.m_xoffChar;
}

TFlowControl TComFlowControl::FlowControl() const
{
    if (m_controlRTS == rtsHandshake && m_outCTSFlow && !m_xonXoffIn && !m_xonXoffOut)
        return fcHardware;
    if (m_controlRTS == rtsDisable && !m_outCTSFlow && m_xonXoffIn && m_xonXoffOut)
        return fcSoftware;
    if (m_controlRTS == rtsDisable && !m_outCTSFlow && !m_xonXoffIn && !m_xonXoffOut)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value)
{
    if (value != fcCustom) {
        m_controlRTS = rtsDisable;
        m_outCTSFlow = false;
        m_xonXoffIn = false;
        m_xonXoffOut = false;
        if (value == fcHardware) {
            m_controlRTS = rtsHandshake;
            m_outCTSFlow = true;
        } else if (value == fcSoftware) {
            m_xonXoffIn = true;
            m_xonXoffOut = true;
        }
    }
    changed();
}

void TComFlowControl::SetOutCTSFlow(bool value)
{
    set(m_outCTSFlow, value);
}
void TComFlowControl::SetOutDSRFlow(bool value)
{
    set(m_outDSRFlow, value);
}
void TComFlowControl::SetControlDTR(TDTRFlowControl value)
{
    set(m_controlDTR, value);
}
void TComFlowControl::SetControlRTS(TRTSFlowControl value)
{
    set(m_controlRTS, value);
}
void TComFlowControl::SetXonXoffOut(bool value)
{
    set(m_xonXoffOut, value);
}
void TComFlowControl::SetXonXoffIn(bool value)
{
    set(m_xonXoffIn, value);
}
void TComFlowControl::SetDSRSensitivity(bool value)
{
    set(m_dsrSensitivity, value);
}
void TComFlowControl::SetTxContinueOnXoff(bool value)
{
    set(m_txContinueOnXoff, value);
}
void TComFlowControl::SetXonChar(AnsiChar value)
{
    set(m_xonChar, value);
}
void TComFlowControl::SetXoffChar(AnsiChar value)
{
    set(m_xoffChar, value);
}

void TComTimeouts::assign(const TComTimeouts& other)
{
    m_readInterval = other.m_readInterval;
    m_readTotalMultiplier = other.m_readTotalMultiplier;
    m_readTotalConstant = other.m_readTotalConstant;
    m_writeTotalMultiplier = other.m_writeTotalMultiplier;
    m_writeTotalConstant = other.m_writeTotalConstant;
}

void TComTimeouts::set(std::int32_t& field, std::int32_t value)
{
    if (field == value)
        return;
    field = value;
    if (m_owner)
        m_owner->ApplyTimeouts();
}

void TComTimeouts::SetReadInterval(std::int32_t value)
{
    set(m_readInterval, value);
}
void TComTimeouts::SetReadTotalMultiplier(std::int32_t value)
{
    set(m_readTotalMultiplier, value);
}
void TComTimeouts::SetReadTotalConstant(std::int32_t value)
{
    set(m_readTotalConstant, value);
}
void TComTimeouts::SetWriteTotalMultiplier(std::int32_t value)
{
    set(m_writeTotalMultiplier, value);
}
void TComTimeouts::SetWriteTotalConstant(std::int32_t value)
{
    set(m_writeTotalConstant, value);
}

void TComBuffer::assign(const TComBuffer& other)
{
    m_inputSize = other.m_inputSize;
    m_outputSize = other.m_outputSize;
}

void TComBuffer::set(std::int32_t& field, std::int32_t value)
{
    // Queue sizes are kept even.
    if (value % 2 == 1)
        --value;
    if (field == value)
        return;
    field = value;
    if (m_owner)
        m_owner->ApplyBufferSizes();
}

void TComBuffer::SetInputSize(std::int32_t value)
{
    set(m_inputSize, value);
}
void TComBuffer::SetOutputSize(std::int32_t value)
{
    set(m_outputSize, value);
}
