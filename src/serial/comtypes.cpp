#include "serial/comtypes.h"

#include "serial/os/commdevice.h"

namespace {

struct EventBit {
    TComEvent event;
    std::uint32_t mask;
};

constexpr EventBit eventBits[] = {
    {evRxChar, serial::EV_RXCHAR}, {evTxEmpty, serial::EV_TXEMPTY},
    {evRxFlag, serial::EV_RXFLAG}, {evRing, serial::EV_RING},
    {evBreak, serial::EV_BREAK},   {evCTS, serial::EV_CTS},
    {evDSR, serial::EV_DSR},       {evError, serial::EV_ERR},
    {evRLSD, serial::EV_RLSD},     {evRx80Full, serial::EV_RX80FULL},
};

constexpr bool eachEventOnceInOrder()
{
    TComEvents seen;
    for (TComEvent event : comEventOrder) {
        if (seen.contains(event))
            return false;
        seen.insert(event);
    }
    return seen == allComEvents;
}
// An event left out of the order would never reach its handler.
static_assert(eachEventOnceInOrder());

} // namespace

std::uint32_t ComEventsToMask(TComEvents events)
{
    std::uint32_t mask = 0;
    for (const EventBit& b : eventBits)
        if (events.contains(b.event))
            mask |= b.mask;
    return mask;
}

TComEvents MaskToComEvents(std::uint32_t mask)
{
    TComEvents events;
    for (const EventBit& b : eventBits)
        if (mask & b.mask)
            events.insert(b.event);
    return events;
}

std::optional<TComEvent> portMessageEvent(std::uint32_t value)
{
    for (const EventBit& b : eventBits)
        if (value == b.mask)
            return b.event;
    return std::nullopt;
}
