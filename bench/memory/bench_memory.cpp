// Peak memory of loading big files, against the file's size: a measurement file of 65,535
// and of 10,000,000 records and a bullet list of 10,000,000 pairs, each through the core
// readers and through the real main window (offscreen). Every case runs in a child process
// of its own, so one peak cannot hide another; the figure is the child's peak resident set.
//
// Usage: bench_memory [folder for the generated files]   (default: the system temp folder)

#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "bullets/tform2.h"
#include "support/answeringprompter.h"
#include "table/bulletlist.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "ui/errorreport.h"

#include <QAction>
#include <QComboBox>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeMeasurements(const std::string& path, long records)
{
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    for (long i = 1; i <= records; ++i) {
        chunk += std::to_string(i) + "\r\n" + std::to_string(280 + i % 41) +
                 "\r\n22,5\r\n0,547\r\nJSB Exact 4,52\r\n" + (i % 2 ? "0,35" : "-0,35") + "\r\n";
        if (chunk.size() > (1 << 20)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
}

void writeBullets(const std::string& path, long pairs)
{
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    for (long i = 1; i <= pairs; ++i) {
        chunk += "Bullet " + std::to_string(i) + "\r\n0,547\r\n";
        if (chunk.size() > (1 << 20)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs `work` in a child and prints its peak against the file's size.
void measure(const char* what, const std::string& file, const std::function<void()>& work)
{
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        const long before = peakKb();
        work();
        const double peakMb = peakKb() / 1024.0;
        const double fileMb = std::filesystem::file_size(file) / 1048576.0;
        std::printf("%-52s file %9.1f MB  peak %9.1f MB (at start %6.1f MB)  ratio %5.2f\n", what,
                    fileMb, peakMb, before / 1024.0, peakMb / fileMb);
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::printf("%-52s failed (status %d)\n", what, status);
}

void coreOpen(const std::string& file)
{
    table::StringGrid grid = table::makeGrid();
    table::putRecords(grid, table::readRecords(file));
    table::statisticsPass(grid);
    if (grid.rowCount() < 2)
        _exit(1);
}

void windowOpen(int argc, char** argv, const std::string& file)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    AnsweringPrompter prompter;
    prompter.path = QString::fromStdString(file);
    ui::setPrompter(&prompter);
    createForms();
    Form1->show();
    Form1->Open1->trigger();
    QCoreApplication::processEvents();
    if (Form1->table().rowCount() < 2)
        _exit(1);
    destroyForms();
}

void windowBullets(int argc, char** argv, const std::string& folder, bool editor)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    AnsweringPrompter prompter;
    ui::setPrompter(&prompter);
    std::filesystem::current_path(folder);
    createForms();
    Form1->show();
    QCoreApplication::processEvents();
    if (editor) {
        Form2->show();
        QCoreApplication::processEvents();
    }
    if (Form1->ComboBox1->count() < 2)
        _exit(1);
    destroyForms();
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path root =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::filesystem::path dir = root / "vexorel-bench-memory";
    std::filesystem::create_directories(dir / "bullets");
    const std::string small = dir / "65535.vxm";
    const std::string big = dir / "10000000.vxm";
    const std::string bullets = dir / "bullets" / "Bullets.vx!";
    writeMeasurements(small, 65535);
    writeMeasurements(big, 10000000);
    writeBullets(bullets, 10000000);

    measure("65,535 records, core read + table", small, [&] { coreOpen(small); });
    measure("10,000,000 records, core read + table", big, [&] { coreOpen(big); });
    measure("65,535 records, main window Open", small, [&] { windowOpen(argc, argv, small); });
    measure("10,000,000 records, main window Open", big, [&] { windowOpen(argc, argv, big); });
    measure("10,000,000 bullet pairs, core list", bullets, [&] {
        table::BulletList list;
        list.load((dir / "bullets").string());
    });
    measure("10,000,000 bullet pairs, main window start", bullets,
            [&] { windowBullets(argc, argv, (dir / "bullets").string(), false); });
    measure("10,000,000 bullet pairs, start + editor", bullets,
            [&] { windowBullets(argc, argv, (dir / "bullets").string(), true); });

    std::filesystem::remove_all(dir);
    return 0;
}
