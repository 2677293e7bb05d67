#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QShowEvent;

// Made once and only hidden when closed, so whatever the user types into the dedication
// stays there until the program ends.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

public slots:
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* m_okButton;
    QLabel* m_icon = nullptr;
    QLabel* m_productName = nullptr;
};
