#pragma once

#include "model/SongModel.h"
#include "upload/SongUpload.h"
#include "widgets/WindowDrag.h"

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <memory>

class QImageButton;
class SongHistory;
class QMouseEvent;
class QNumericTextEdit;
class QToast;

namespace Ui {
class DialogSongInfo;
}

// The song's title, artist, user, lyrics and tap order: a view of the song model's information
// (typing writes it through the song's history, a load or an undo redraws it). The record button
// switches tap recording, which the main window reads when a sound button is pressed; the submit
// button uploads the song. Frameless, moved by dragging its background.
class DialogSongInfo : public QDialog
{
    Q_OBJECT

public:
    explicit DialogSongInfo(SongHistory *history, QWidget *parent = nullptr);
    ~DialogSongInfo() override;

    bool isRecording() const { return m_recording; }
    // How the upload writes the song to its file.
    void setSongWriter(SongUpload::SongWriter writer) { m_writeSong = std::move(writer); }
    QString uploadUrl() const { return m_upload->url(); }

signals:
    // An upload has ended, with the line the toast shows.
    void uploadFinished(bool uploaded, const QString &result);

public slots:
    void onMousePressSubmit(QMouseEvent *event, QWidget *widget);
    void onMousePressClose(QMouseEvent *event, QWidget *widget);
    void onMousePressRecord(QMouseEvent *event, QWidget *widget);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImageButton *createButton(const QRect &geometry, const QString &normal, const QString &hover,
                               const QString &toolTip);
    void connectEdits();
    void showInfo(SongModel::InfoField field);
    void showAllInfo();
    bool checkRequired();
    void showToast(const QString &message);
    void showResult(bool uploaded, const QString &result);
    bool confirmUpload();

    SongHistory *m_history;
    SongModel *m_song;
    Ui::DialogSongInfo *ui;
    WindowDrag m_drag;
    QImageButton *m_submitButton = nullptr;
    QImageButton *m_closeButton = nullptr;
    QImageButton *m_recordButton = nullptr;
    QNumericTextEdit *m_tapOrderEdit = nullptr;
    bool m_recording = false;
    std::unique_ptr<QToast> m_toast;
    SongUpload *m_upload = nullptr;
    SongUpload::SongWriter m_writeSong;
};
