#include "app/SaveName.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString SaveName::choose(QWidget *window, const QString &title, const QString &start,
                         const QString &filter, const QString &suffix)
{
    const QString chosen = QFileDialog::getSaveFileName(window, title, start, filter);
    if (chosen.isNull() || QFileInfo(chosen).suffix() == suffix)
        return chosen;
    const QString fileName = chosen + QLatin1Char('.') + suffix;
    if (!QFileInfo::exists(fileName))
        return fileName;
    const auto answer =
        QMessageBox::question(window, title,
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QDir::toNativeSeparators(fileName)));
    return answer == QMessageBox::Yes ? fileName : QString();
}
