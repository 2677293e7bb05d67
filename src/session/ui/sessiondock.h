#pragma once

#include "table/stringdetails.h"

#include <QDockWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The string's details beside the table: when, with which rifle and load, in what conditions.
// It shows what it is given and says when the user changed a field; the main window keeps the
// details.
class SessionDock : public QDockWidget {
    Q_OBJECT
public:
    explicit SessionDock(QWidget* parent = nullptr);

    // Fills the fields without a change signal.
    void setDetails(const table::StringDetails& details);
    // The fields are made when the dock is first seen or given details, not at start-up; the
    // field members are null until then.
    void ensureBuilt();
    QSize sizeHint() const override;
    // The fields as the table keeps them. A date the field cannot read keeps the last good one.
    table::StringDetails details() const;

    QLineEdit* TitleEdit = nullptr;
    QLineEdit* DateTimeEdit = nullptr;
    QLineEdit* RifleEdit = nullptr;
    QLineEdit* CartridgeEdit = nullptr;
    QLineEdit* PowderEdit = nullptr;
    QLineEdit* ChargeEdit = nullptr;
    QComboBox* ChargeUnit = nullptr;
    QLineEdit* PrimerEdit = nullptr;
    QLineEdit* CaseEdit = nullptr;
    QLineEdit* LengthEdit = nullptr;
    QComboBox* LengthUnit = nullptr;
    QLineEdit* TemperatureEdit = nullptr;
    QComboBox* TemperatureUnit = nullptr;
    QLineEdit* PlaceEdit = nullptr;
    QPlainTextEdit* NotesEdit = nullptr;

signals:
    void edited();

private:
    void build();
    void fill();
    void userEdited();

    table::StringDetails m_details;
    bool m_filling = false;
    bool m_built = false;
};
