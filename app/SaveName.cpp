#include "app/SaveName.h"

#include "app/SongSaveDialog.h"

#include <QFileInfo>

QString SaveName::choose(QWidget *window, const QString &title, const QString &start,
                         const QString &filter, const QString &suffix)
{
    SongSaveDialog dialog(window, title, start, filter);
    dialog.exec();
    const QString chosen = dialog.chosenFile();
    if (chosen.isEmpty() || QFileInfo(chosen).suffix() == suffix)
        return chosen;
    const QString fileName = chosen + QLatin1Char('.') + suffix;
    return SongSaveDialog::confirmReplace(window, fileName) ? fileName : QString();
}
