#pragma once

#include <QDialog>

class QShowEvent;
class QTabWidget;

// The user's manual. Made once and only ever hidden, so it reopens on the page and at the
// place where the reader left it.
class THelpForm : public QDialog {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent = nullptr);

    // Its pages, their texts filled.
    QTabWidget* pages() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillPages() const;

    QTabWidget* m_pages;
};
