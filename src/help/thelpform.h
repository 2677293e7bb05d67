#pragma once

#include <QDialog>

class QTabWidget;

// The user's manual. Made once and only ever hidden, so it reopens on the page and at the
// place where the reader left it.
class THelpForm : public QDialog {
    Q_OBJECT

public:
    explicit THelpForm(QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }

private:
    QTabWidget* m_pages;
};
