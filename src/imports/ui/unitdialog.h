#pragma once

#include <QDialog>

class QRadioButton;

// Asked once for a list of velocities that does not name its unit; metres per second
// unless the user says otherwise.
class UnitDialog : public QDialog {
    Q_OBJECT
public:
    explicit UnitDialog(const QString& fileName, QWidget* parent = nullptr);

    bool feetPerSecond() const;

    QRadioButton* MetresPerSecond = nullptr;
    QRadioButton* FeetPerSecond = nullptr;
};
