#pragma once

#include "serial/comport.h"

#include <string>

// The texts of the port's settings, as the setup dialog lists them, and their parsers.
// A parser compares case-insensitively (ASCII) and falls back to a fixed member.
std::string BaudRateName(TBaudRate value);
std::string StopBitsName(TStopBits value);
std::string DataBitsName(TDataBits value);
std::string ParityName(TParityBits value);
std::string FlowControlName(TFlowControl value);
std::string DTRControlName(TDTRFlowControl value);
std::string RTSControlName(TRTSFlowControl value);
// Codes 33 to 127 as themselves, others as "#" and the decimal code.
std::string CharSettingText(AnsiChar value);

TBaudRate ParseBaudRate(const std::string& text);
TStopBits ParseStopBits(const std::string& text);
TDataBits ParseDataBits(const std::string& text);
TParityBits ParseParity(const std::string& text);
TFlowControl ParseFlowControl(const std::string& text);
TDTRFlowControl ParseDTRControl(const std::string& text);
TRTSFlowControl ParseRTSControl(const std::string& text);
AnsiChar ParseCharSetting(const std::string& text);

std::string boolSettingText(bool value);
bool parseBoolSetting(const std::string& text);
