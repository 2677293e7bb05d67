#pragma once

// The port's enumerations and sets, and how its event set maps to the device's event mask.

#include "serial/enumset.h"

#include <cstdint>
#include <optional>

enum TBaudRate {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TSyncMethod { smThreadSync, smWindowSync, smNone };
enum ComSignal { csCTS, csDSR, csRing, csRLSD };
enum ComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIOE, ceMode, ceRxOver, ceTxFull };
enum TComEvent {
    evRxChar,
    evTxEmpty,
    evRxFlag,
    evRing,
    evBreak,
    evCTS,
    evDSR,
    evError,
    evRLSD,
    evRx80Full
};
enum StoreType { stBasic, stFlowControl, stBuffer, stTimeouts, stParity, stOthers };
enum ThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TComSignals = EnumSet<ComSignal, std::uint8_t>;
using TComErrors = EnumSet<ComError, std::uint8_t>;
using TComEvents = EnumSet<TComEvent, std::uint16_t>;
using StoredGroupSet = EnumSet<StoreType, std::uint8_t>;
using AnsiChar = unsigned char;

inline constexpr TComEvents allComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                                         evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

std::uint32_t ComEventsToMask(TComEvents events);
TComEvents MaskToComEvents(std::uint32_t mask);
// The event a PortMessage names: exactly one event's mask bit. Any other value, several bits
// included, names none, and the message does nothing.
std::optional<TComEvent> portMessageEvent(std::uint32_t value);

// The order in which the events of one wake-up are processed: by the port itself, or one
// hand-over per event under smWindowSync. Every event appears once.
inline constexpr TComEvent comEventOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                              evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};
