#pragma once

#include "serial/comselect.h"

#include <QComboBox>

// A drop-down list bound to one property of a serial port. The rules live in its
// TComSelect; the widget shows its items and selection and passes the user's picks on.
class TComComboBox : public QComboBox {
public:
    explicit TComComboBox(QWidget* parent = nullptr);

    TCustomComPort* ComPort() const { return m_select.ComPort(); }
    void SetComPort(TCustomComPort* port) { m_select.SetComPort(port); }
    TComProperty ComProperty() const { return m_select.ComProperty(); }
    void SetComProperty(TComProperty value) { m_select.SetComProperty(value); }
    bool AutoApply() const { return m_select.AutoApply(); }
    void SetAutoApply(bool value) { m_select.SetAutoApply(value); }
    QString Text() const;
    void SetText(const QString& text);

    void ShowPortValue() { m_select.ShowPortValue(); }
    void ApplyChoice() { m_select.ApplyChoice(); }
    const TComSelect& comSelect() const { return m_select; }

private:
    void sync();

    TComSelect m_select;
};
