#pragma once

#include <QFileDialog>

// The save dialog, taking the name exactly as typed: the toolkit's own dialog reads double
// quotes as a list of names, so `my "quoted" title.kds` would save as "quoted".
class SongSaveDialog : public QFileDialog
{
    Q_OBJECT

public:
    SongSaveDialog(QWidget *parent, const QString &caption, const QString &startPath,
                   const QString &filter);

    // The chosen file; empty when cancelled.
    QString chosenFile() const;
    // Asks whether an existing file may be replaced; true when it does not exist.
    static bool confirmReplace(QWidget *parent, const QString &fileName);

protected:
    void accept() override;

private:
    // Set only for a typed name with quotes, which the toolkit would split.
    QString m_typedFile;
};
