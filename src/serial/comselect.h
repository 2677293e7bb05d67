#pragma once

#include "serial/comport.h"

#include <functional>
#include <string>
#include <vector>

enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

// The logic of a choice list bound to one property of a port: its items, the selected one,
// the pending value, and writing that value to the port. Toolkit-free, so the setup
// dialog's rules are tested without a window; a combo box mirrors items() and itemIndex().
class TComSelect {
public:
    TComSelect() = default;
    ~TComSelect();
    TComSelect(const TComSelect&) = delete;
    TComSelect& operator=(const TComSelect&) = delete;

    const std::vector<std::string>& items() const { return m_items; }
    // -1 when nothing is selected.
    int itemIndex() const { return m_itemIndex; }
    std::string Text() const;
    // Selects the item with that text (letter case ignored); otherwise changes nothing.
    void SetText(const std::string& text);

    TComProperty ComProperty() const { return m_property; }
    // Fills the items for the property (the port list is read from the system now, and
    // raises EComPort 23 when it cannot be), then selects item 0 without a bound port or
    // the port's value with one.
    void SetComProperty(TComProperty value);
    TCustomComPort* ComPort() const { return m_port; }
    void SetComPort(TCustomComPort* port);
    bool AutoApply() const { return m_autoApply; }
    void SetAutoApply(bool value) { m_autoApply = value; }

    void ShowPortValue();
    void ApplyChoice();
    // The user picked item `index`.
    void change(int index);

    // Pending values; only that of the bound property is used.
    const std::string& pendingPort() const { return m_pendingPort; }
    TBaudRate pendingBaudRate() const { return m_pendingBaudRate; }
    TDataBits pendingDataBits() const { return m_pendingDataBits; }
    TStopBits pendingStopBits() const { return m_pendingStopBits; }
    TParityBits pendingParity() const { return m_pendingParity; }
    TFlowControl pendingFlowControl() const { return m_pendingFlowControl; }

    // Called after the items or the selection changed, for the widget that shows them.
    std::function<void()> onChanged;

    // Where the port list is read from: the system's device tree unless a test fakes one.
    static void setPortListRoots(std::string sysClassTty, std::string dev);

private:
    void select(int index);
    void takePending(const std::string& text);
    std::string portValueText() const;
    void changed();

    std::vector<std::string> m_items;
    int m_itemIndex = -1;
    TComProperty m_property = cpNone;
    TCustomComPort* m_port = nullptr;
    bool m_autoApply = false;
    std::string m_pendingPort;
    TBaudRate m_pendingBaudRate = brCustom;
    TDataBits m_pendingDataBits = dbFive;
    TStopBits m_pendingStopBits = sbOneStopBit;
    TParityBits m_pendingParity = prNone;
    TFlowControl m_pendingFlowControl = fcHardware;
};
