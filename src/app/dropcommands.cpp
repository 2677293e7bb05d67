// Files dropped on the main window: one file or folder is imported or opened as the File
// menu's commands do; several, or any dropped on the series list, are added as series.
#include "app/tform1.h"
#include "session/sessionfile.h"
#include "ui/errorreport.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

bool opensAsSession(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("vxm"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("vxs"), Qt::CaseInsensitive) == 0 ||
           session::isSessionFile(ui::toLocalPath(path));
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    // Links from a browser are taken too, to be told why they cannot come in.
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    const bool onSeriesList =
        ListBox1->rect().contains(ListBox1->mapFrom(this, event->position().toPoint()));
    // The questions wait until the drop is over: the program the files came from waits for
    // its end.
    QTimer::singleShot(0, this, ui::guarded([this, urls = event->mimeData()->urls(), onSeriesList] {
                           dropUrls(urls, onSeriesList);
                       }));
}

void TForm1::dropUrls(const QList<QUrl>& urls, bool onSeriesList)
{
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            ui::showProgramMessage(this, QStringLiteral("'%1' is not a file on this computer. Save "
                                                        "it into a folder first, then drop the "
                                                        "saved file.")
                                             .arg(url.toDisplayString()));
            return;
        }
        paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    if (onSeriesList || paths.size() > 1) {
        addSeries(paths);
        return;
    }
    const QString& path = paths.front();
    if (!mayReplaceTable())
        return;
    if (QFileInfo(path).isDir())
        importFolder(path);
    else if (opensAsSession(path))
        openFile(path);
    else
        importFile(path);
}
