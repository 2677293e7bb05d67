// The bullet group of the main window and the way into the bullet list editor.

#include "app/forms.h"
#include "app/tform1.h"
#include "bullets/tform2.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "table/currentfile.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"
#include "ui/qtext.h"

#include <QComboBox>

void TForm1::ComboBox1Change()
{
    const int index = ComboBox1->currentIndex();
    if (index < 0)
        return;
    setWeightText(m_bullets.entry(static_cast<std::size_t>(index) + 1).weight);
}

void TForm1::SpeedButton1Click()
{
    const std::string weight = weightText();
    bool weightValid = true;
    try {
        rt::strToFloat(weight);
    } catch (const rt::ConvertError&) {
        weightValid = false;
    }
    if (table::isEmpty(m_table) || !weightValid) {
        ui::showProgramMessage(this,
                               QStringLiteral("No measurments loaded or incorrect Bullet Weight!"));
        return;
    }
    const ui::GridSelection block = Grid->selection();
    table::setUnsavedChanges(true);
    table::applyBullet(m_table, block.top, block.bottom, weight,
                       ui::toStdString(ComboBox1->currentText()));
    deviationPass(statisticsPass());
    redraw();
}

void TForm1::BulletListEditor1Click()
{
    ui::prompts().execModal(Form2);
}
