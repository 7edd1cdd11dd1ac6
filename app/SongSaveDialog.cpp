#include "app/SongSaveDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace {
const QString NameEditName = QStringLiteral("fileNameEdit");
const QChar Quote = QLatin1Char('"');
} // namespace

SongSaveDialog::SongSaveDialog(QWidget *parent, const QString &caption, const QString &startPath,
                               const QString &filter)
    : QFileDialog(parent, caption, startPath, filter)
{
    setAcceptMode(QFileDialog::AcceptSave);
}

QString SongSaveDialog::chosenFile() const
{
    if (result() != QDialog::Accepted)
        return QString();
    return m_typedFile.isEmpty() ? selectedFiles().value(0) : m_typedFile;
}

bool SongSaveDialog::confirmReplace(QWidget *parent, const QString &fileName)
{
    if (!QFileInfo::exists(fileName))
        return true;
    const auto answer =
        QMessageBox::question(parent, tr("Save Script"),
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QDir::toNativeSeparators(fileName)));
    return answer == QMessageBox::Yes;
}

void SongSaveDialog::accept()
{
    m_typedFile.clear();
    const auto *nameEdit = findChild<QLineEdit *>(NameEditName);
    const QString typed = nameEdit ? nameEdit->text() : QString();
    if (!typed.contains(Quote)) {
        QFileDialog::accept();
        return;
    }
    const QString fileName = directory().absoluteFilePath(typed);
    if (QFileInfo(fileName).isDir() || !confirmReplace(this, fileName))
        return;
    m_typedFile = fileName;
    QDialog::accept();
}
