#include "serial/comselect.h"

#include "runtime/asciitext.h"
#include "serial/os/portlist.h"
#include "serial/settingtexts.h"

namespace {

struct PortListRoots {
    std::string sysClassTty = "/sys/class/tty";
    std::string dev = "/dev";
};

PortListRoots& portListRoots()
{
    static PortListRoots roots;
    return roots;
}

template <typename E> std::vector<std::string> names(E last, std::string (*name)(E))
{
    std::vector<std::string> list;
    for (int value = 0; value <= static_cast<int>(last); ++value)
        list.push_back(name(static_cast<E>(value)));
    return list;
}

} // namespace

void TComSelect::setPortListRoots(std::string sysClassTty, std::string dev)
{
    portListRoots() = {std::move(sysClassTty), std::move(dev)};
}

TComSelect::~TComSelect()
{
    if (m_port)
        m_port->removeFreeNotification(this);
}

std::string TComSelect::Text() const
{
    return m_itemIndex >= 0 ? m_items[static_cast<std::size_t>(m_itemIndex)] : std::string();
}

void TComSelect::SetText(const std::string& text)
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (rt::sameText(m_items[i], text)) {
            select(static_cast<int>(i));
            return;
        }
}

void TComSelect::select(int index)
{
    m_itemIndex = index;
    changed();
}

void TComSelect::changed()
{
    if (onChanged)
        onChanged();
}

void TComSelect::SetComProperty(TComProperty value)
{
    m_property = value;
    std::vector<std::string> items;
    switch (value) {
    case cpPort: {
        const auto& roots = portListRoots();
        ListComPorts(items, roots.sysClassTty, roots.dev);
        break;
    }
    case cpBaudRate:
        items = names(br256000, BaudRateName);
        break;
    case cpDataBits:
        items = names(dbEight, DataBitsName);
        break;
    case cpStopBits:
        items = names(sbTwoStopBits, StopBitsName);
        break;
    case cpParity:
        items = names(prSpace, ParityName);
        break;
    case cpFlowControl:
        items = names(fcCustom, FlowControlName);
        break;
    case cpNone:
        break;
    }
    m_items = std::move(items);
    m_itemIndex = -1;
    if (m_items.empty())
        changed();
    else if (!m_port)
        select(0);
    else
        ShowPortValue();
}

void TComSelect::SetComPort(TCustomComPort* port)
{
    if (port == m_port)
        return;
    if (m_port)
        m_port->removeFreeNotification(this);
    m_port = port;
    if (!m_port)
        return;
    m_port->freeNotification(this, [this] {
        m_port = nullptr;
        if (!m_items.empty())
            select(0);
    });
    ShowPortValue();
}

std::string TComSelect::portValueText() const
{
    switch (m_property) {
    case cpPort:
        return m_port->Port();
    case cpBaudRate:
        return BaudRateName(m_port->BaudRate());
    case cpDataBits:
        return DataBitsName(m_port->DataBits());
    case cpStopBits:
        return StopBitsName(m_port->StopBits());
    case cpParity:
        return ParityName(m_port->Parity().Bits());
    case cpFlowControl:
        return FlowControlName(m_port->FlowControl().FlowControl());
    case cpNone:
        break;
    }
    return {};
}

void TComSelect::ShowPortValue()
{
    if (!m_port)
        return;
    const std::string text = portValueText();
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (rt::sameText(m_items[i], text)) {
            takePending(m_items[i]);
            select(static_cast<int>(i));
            return;
        }
    // A value the list does not hold (a port not present) shows as no selection.
    select(-1);
}

void TComSelect::takePending(const std::string& text)
{
    switch (m_property) {
    case cpPort:
        m_pendingPort = text;
        break;
    case cpBaudRate:
        m_pendingBaudRate = ParseBaudRate(text);
        break;
    case cpDataBits:
        m_pendingDataBits = ParseDataBits(text);
        break;
    case cpStopBits:
        m_pendingStopBits = ParseStopBits(text);
        break;
    case cpParity:
        m_pendingParity = ParseParity(text);
        break;
    case cpFlowControl:
        m_pendingFlowControl = ParseFlowControl(text);
        break;
    case cpNone:
        break;
    }
}

void TComSelect::change(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size())
        return;
    m_itemIndex = index;
    takePending(m_items[static_cast<std::size_t>(index)]);
    if (m_autoApply)
        ApplyChoice();
}

void TComSelect::ApplyChoice()
{
    if (!m_port)
        return;
    switch (m_property) {
    case cpPort:
        m_port->SetPort(m_pendingPort);
        break;
    case cpBaudRate:
        m_port->SetBaudRate(m_pendingBaudRate);
        break;
    case cpDataBits:
        m_port->SetDataBits(m_pendingDataBits);
        break;
    case cpStopBits:
        m_port->SetStopBits(m_pendingStopBits);
        break;
    case cpParity:
        m_port->Parity().SetBits(m_pendingParity);
        break;
    case cpFlowControl:
        m_port->FlowControl().SetFlowControl(m_pendingFlowControl);
        break;
    case cpNone:
        break;
    }
}
