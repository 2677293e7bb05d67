#include "help/thelpform.h"

#include "ui/designfont.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct HelpPage {
    const char* caption;
    const char* text;
};

// The menus and buttons are named in English, exactly as the program shows them, so the
// reader can find them on screen.
const HelpPage kPages[] = {
    {"Хронограф",
     "Загрузка результатов из хронографа\n"
     "\n"
     "Чтобы перенести результаты измерений из хронографа Chronolite в компьютер, сделайте "
     "следующее.\n"
     "\n"
     "1. Подключите хронограф к COM-порту компьютера. Хронограф при этом должен быть "
     "выключен.\n"
     "\n"
     "2. Запустите Vexorel!.\n"
     "\n"
     "3. В группе «Bullet» выберите тип пули. Её вес в граммах подставится сам; при "
     "необходимости его можно исправить вручную или отредактировать список пуль (см. "
     "вкладку «Пули»).\n"
     "\n"
     "4. Нажмите кнопку «LOAD!» в правом верхнем углу окна или выберите в меню "
     "Chronolite › LOAD!. Надпись на кнопке сменится на «STOP».\n"
     "\n"
     "5. Включите хронограф. Когда загрузка закончится, на кнопке снова появится надпись "
     "«LOAD!», а измерения окажутся в таблице.\n"
     "\n"
     "Внимание! Подключайте хронограф к компьютеру только выключенным и выключайте его "
     "после окончания загрузки. Если выключить хронограф во время загрузки, программа может "
     "начать работать неправильно, а часть результатов будет потеряна.\n"
     "\n"
     "\n"
     "Настройка COM-порта\n"
     "\n"
     "Параметры порта задаются кнопкой «COM Setup» в группе «Chronolite» или командой меню "
     "Chronolite › COM Setup.\n"
     "\n"
     "При каждом запуске Vexorel! начинает работу со стандартными параметрами порта. Если "
     "вам нужны другие, их придётся задавать заново после каждого запуска."},

    {"Пули",
     "Список пуль\n"
     "\n"
     "В программу встроен список пуль с указанием их веса. Вес нужен для расчёта дульной "
     "энергии каждого выстрела.\n"
     "\n"
     "\n"
     "Выбор пули перед загрузкой\n"
     "\n"
     "Перед загрузкой из хронографа выберите пулю в группе «Bullet». Всем загруженным "
     "измерениям будут присвоены эта пуля и её вес.\n"
     "\n"
     "\n"
     "Замена пули у загруженных измерений\n"
     "\n"
     "1. Выделите в таблице строки с измерениями, которые нужно изменить.\n"
     "\n"
     "2. Выберите пулю в группе «Bullet».\n"
     "\n"
     "3. Если нужно, введите вес вручную.\n"
     "\n"
     "4. Нажмите кнопку «Apply changes».\n"
     "\n"
     "Пуля и вес выделенных измерений будут заменены, а их дульная энергия будет пересчитана.\n"
     "\n"
     "Внимание! Поле веса заполняется по маске ввода: все её позиции должны быть заняты "
     "цифрами.\n"
     "Правильно: 0,120   1,000   0,002\n"
     "Неправильно: 0,12_   _,120 (остались незаполненные позиции с подчёркиванием).\n"
     "\n"
     "\n"
     "Редактирование списка пуль\n"
     "\n"
     "Список пуль редактируется в окне Options › Bullet List Editor. В левом столбце "
     "записываются названия пуль, в правом — их вес в граммах.\n"
     "\n"
     "• Чтобы удалить пулю из списка, полностью сотрите её название и нажмите OK.\n"
     "\n"
     "• Чтобы добавить пулю, заполните нижнюю строку таблицы и нажмите OK. Кнопка «Add» "
     "добавляет в конец таблицы новую пустую строку.\n"
     "\n"
     "• Вес записывается так: целые граммы, запятая, доли грамма, например 0,550.\n"
     "\n"
     "Список хранится в файле «bullets.vx!». Этот файл должен лежать в той же папке, что и "
     "исполняемый файл программы."},

    {"Измерения",
     "Сохранение измерений\n"
     "\n"
     "File › Save — сохраняет измерения. Если они ещё ни разу не сохранялись, откроется "
     "окно «Save As»; иначе измерения будут записаны в тот же файл, что и в прошлый раз. "
     "Полное имя этого файла показано в заголовке окна программы.\n"
     "\n"
     "File › Save As — сохраняет измерения в новый файл.\n"
     "\n"
     "File › Save Selected As — сохраняет в новый файл только выделенные строки таблицы.\n"
     "\n"
     "Измерения сохраняются в обычном текстовом файле с расширением файлов измерений "
     "vxm.\n"
     "\n"
     "\n"
     "Открытие измерений\n"
     "\n"
     "File › Open — открывает ранее сохранённый файл измерений.\n"
     "\n"
     "\n"
     "Замена пули и веса\n"
     "\n"
     "О том, как заменить пулю и её вес у загруженных измерений, рассказано на вкладке "
     "«Пули».\n"
     "\n"
     "\n"
     "Удаление измерений\n"
     "\n"
     "Выделите в таблице ненужные строки и выберите в меню Chronolite › Delete Selected."},

    {"Графики",
     "Графики\n"
     "\n"
     "Vexorel! строит три графика:\n"
     "\n"
     "• V — начальная скорость пули, м/с;\n"
     "• E — дульная энергия, Дж;\n"
     "• dV — отклонение скорости от среднего значения, %.\n"
     "\n"
     "Графики переключаются вкладками с их названиями.\n"
     "\n"
     "\n"
     "Сохранение и печать\n"
     "\n"
     "Щёлкните по графику правой кнопкой мыши: в появившемся меню его можно сохранить в "
     "файл формата BMP или WMF либо отправить на печать.\n"
     "\n"
     "\n"
     "Вид графиков\n"
     "\n"
     "Переключатели группы «Chart» управляют видом графиков: 3D — объёмное изображение, "
     "Legend — легенда, Labels — подписи значений. Установленный флажок означает, что режим "
     "включён.\n"
     "\n"
     "\n"
     "Внешние серии\n"
     "\n"
     "На график можно добавить серии из других файлов измерений: нажмите кнопку «Add» рядом "
     "со списком серий и выберите файл. Чтобы убрать серию, выделите её в списке и нажмите "
     "«Delete».\n"
     "\n"
     "В легенде серия называется по имени своего файла без расширения. Измерения, которые "
     "ещё ни разу не сохранялись, обозначаются как «No name»."},

    {"Ед. измерения",
     "Единицы измерения\n"
     "\n"
     "Vexorel! работает только с метрическими единицами: вес пули указывается в граммах, "
     "скорость — в метрах в секунду, энергия — в джоулях.\n"
     "\n"
     "Футы в секунду, граны и другие неметрические единицы в программе не предусмотрены."},

    {"Статистика",
     "Статистика\n"
     "\n"
     "Группа «Statistics» показывает статистику по всем измерениям, которые находятся в "
     "таблице.\n"
     "\n"
     "В левом столбце — начальная скорость: сверху вниз максимальная, минимальная и средняя.\n"
     "\n"
     "В правом столбце — дульная энергия в том же порядке: максимальная, минимальная и "
     "средняя."},
};

// Qt cannot know the window manager's frame before the window is mapped; with a usual
// border and title bar this client size makes the whole window about 482 x 364.
constexpr int kClientWidth = 474;
constexpr int kClientHeight = 337;

QPlainTextEdit* makeMemo(const HelpPage& page, int number, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QStringLiteral("Memo%1").arg(number));
    memo->setAccessibleName(QString::fromUtf8(page.caption));
    memo->setPlainText(QString::fromUtf8(page.text));
    memo->setReadOnly(true);
    // Read-only alone drops the keyboard cursor; keep it so the text can be read and
    // copied without a mouse and a screen reader can follow along.
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return memo;
}

} // namespace

THelpForm::THelpForm(QWidget* parent)
    : QDialog(parent)
    , m_pages(new QTabWidget(this))
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Help"));
    setFont(ui::designFont());

    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setAccessibleName(QStringLiteral("Help pages"));
    // Six Cyrillic captions must share a 474-pixel strip without scroll arrows.
    m_pages->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));

    int number = 0;
    for (const HelpPage& page : kPages) {
        ++number;
        auto* sheet = new QWidget(m_pages);
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(number));
        auto* sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->setContentsMargins(0, 0, 0, 0);
        sheetLayout->addWidget(makeMemo(page, number, sheet));
        m_pages->addTab(sheet, QString::fromUtf8(page.caption));
    }
    m_pages->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    // move() marks the position as chosen, so QDialog does not centre us over the main
    // window on every show.
    move(80, 105);
    resize(kClientWidth, kClientHeight);
}
