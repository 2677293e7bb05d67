#pragma once

#include "app/core/stringgrid.h"
#include "app/prompts.h"
#include "bullets/bulletlist.h"

#include <QMainWindow>

#include <string>

class GridModel;
class GridView;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;

// The main window. Its controls keep the names of the window design, and the program keeps
// its state in them: numbers live as the texts the cells and labels show.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The measurement table; Grid shows it.
    StringGrid& table() { return m_table; }
    const bullets::BulletList& bulletList() const { return m_bullets; }
    const std::string& startDir() const { return m_startDir; }

    // The weight field's text as the program reads it (" ,   " when untouched).
    std::string weightText() const;
    void setWeightText(const std::string& weight);

    // Loads the bullet list from StartDir and refills the combo box and the weight field.
    void loadBulletList();

    // The table's recomputations, writing their results into the labels and cells.
    void applyEnergyRule(std::size_t row, const std::string& weight);
    double statisticsPass();
    void deviationPass(double meanVelocity);

    void FormCreate();
    void FAQ1Click();
    void About1Click();

    // Controls, by their design names.
    GridView* Grid = nullptr;
    QLabel* VmaxLabel = nullptr;
    QLabel* VminLabel = nullptr;
    QLabel* VaLabel = nullptr;
    QLabel* EmaxLabel = nullptr;
    QLabel* EminLabel = nullptr;
    QLabel* EaLabel = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* ChartV = nullptr;
    QWidget* ChartE = nullptr;
    QWidget* ChartdV = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QTimer* Timer = nullptr;

    // Menu commands.
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* SaveSelectedAs1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* LOAD1 = nullptr;
    QAction* COMSetup1 = nullptr;
    QAction* DeleteSelected1 = nullptr;
    QAction* AddSeries1 = nullptr;
    QAction* DeleteSeries1 = nullptr;
    QAction* Redraw1 = nullptr;
    QAction* BulletListEditor1 = nullptr;
    QAction* COMSetup2 = nullptr;
    QAction* FAQ1 = nullptr;
    QAction* About1 = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QAction* SaveToBMP1 = nullptr;
    QAction* SaveasWMF1 = nullptr;
    QAction* Print2 = nullptr;
    QAction* SavetoBMP2 = nullptr;
    QAction* SaveasWMF2 = nullptr;
    QAction* Print3 = nullptr;
    QAction* SaveToBMP3 = nullptr;
    QAction* SaveasWMF3 = nullptr;
    QAction* Print4 = nullptr;

    // Shared by File › Open and the series list's Add, as one dialog.
    FileDialogState OpenDialog1;
    FileDialogState SaveDialog1;

private:
    void buildMenus();
    void buildControls();
    void bindHandlers();
    void fillBulletCombo();

    StringGrid m_table;
    GridModel* m_gridModel = nullptr;
    bullets::BulletList m_bullets;
    std::string m_startDir;
};
