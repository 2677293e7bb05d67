#pragma once

#include "table/units.h"

#include <QDialog>

#include <functional>
#include <string>

class QAbstractItemModel;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;
namespace ui {
class WeightEdit;
}

// Asked once for a file that gives no bullet weight: its energies need one, and the program
// takes none the user did not choose. A bullet of the list, a weight typed in the units
// shown, or none at all; nothing is chosen for the user but "No weight".
class WeightDialog : public QDialog {
    Q_OBJECT
public:
    // bullets: the names of the window's list, shared; weightOf(k): the gram text of its row
    // k; currentBullet: the row the list starts on.
    WeightDialog(const QString& fileName, QAbstractItemModel* bullets, int currentBullet,
                 std::function<std::string(int)> weightOf, table::Units units,
                 QWidget* parent = nullptr);

    // The m cell of every shot: the bullet's gram text as the list holds it, the typed weight
    // in grams, or empty for none (E is then "####").
    std::string grams() const;

    QRadioButton* FromList = nullptr;
    QComboBox* BulletBox = nullptr;
    QLabel* BulletWeight = nullptr;
    QRadioButton* Typed = nullptr;
    ui::WeightEdit* WeightField = nullptr;
    QRadioButton* NoWeight = nullptr;
    QDialogButtonBox* Buttons = nullptr;

private:
    std::string bulletGrams() const;
    void showBulletWeight();
    // OK only for an answer that is one: typed digits that make a weight.
    void updateOk();

    std::function<std::string(int)> m_weightOf;
    table::Units m_units;
};
