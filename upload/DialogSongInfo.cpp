#include "upload/DialogSongInfo.h"

#include "history/SongHistory.h"
#include "upload/Log.h"
#include "widgets/QImageButton.h"
#include "widgets/QNumericTextEdit.h"
#include "widgets/QToast.h"

#include "ui_DialogSongInfo.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
const QString FieldStyle =
    QStringLiteral("QWidget { color: rgb(175,198,233); border: 0px; background: transparent }");
const QString TitleStyle =
    QStringLiteral("QWidget { color: rgb(175,198,233); border: 0px; background: transparent}");
const QString RecordImage = QStringLiteral(":/img/bt_record.png");
const QString RecordHoverImage = QStringLiteral(":/img/bt_record_hover.png");
const QString RecordingImage = QStringLiteral(":/img/bt_rectangle.png");
const QString RecordingHoverImage = QStringLiteral(":/img/bt_rectangle_hover.png");

// Blanks alone do not fill a required entry; tabs and other white space do.
bool isBlank(const QString &text)
{
    return QString(text).remove(QLatin1Char(' ')).isEmpty();
}

// A view redraws only what differs, so the text a user is typing keeps its cursor.
void showText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

void showText(QTextEdit *edit, const QString &text)
{
    if (edit->toPlainText() == text)
        return;
    const QSignalBlocker blocker(edit);
    edit->setPlainText(text);
}
} // namespace

DialogSongInfo::DialogSongInfo(SongHistory *history, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_history(history),
      m_song(history->song()), ui(new Ui::DialogSongInfo)
{
    ui->setupUi(this);
    setFixedSize(297, 542);

    m_submitButton =
        createButton(QRect(50, 500, 68, 25), QStringLiteral(":/img/bt_submit.png"),
                     QStringLiteral(":/img/bt_submit_hover.png"), QStringLiteral("submit song"));
    connect(m_submitButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressSubmit);
    m_closeButton = createButton(QRect(180, 500, 68, 25), QStringLiteral(":/img/bt_close.png"),
                                 QStringLiteral(":/img/bt_close_hover.png"),
                                 QStringLiteral("close web dialog"));
    connect(m_closeButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressClose);
    m_recordButton = createButton(QRect(190, 160, 68, 25), RecordImage, RecordHoverImage,
                                  QStringLiteral("record tap order when play button"));
    connect(m_recordButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressRecord);

    ui->POLyrics->setStyleSheet(FieldStyle);
    ui->LEartist->setStyleSheet(FieldStyle);
    ui->LEuser->setStyleSheet(FieldStyle);
    ui->LEtitle->setStyleSheet(TitleStyle);

    m_tapOrderEdit = new QNumericTextEdit(this);
    m_tapOrderEdit->setGeometry(47, 200, 211, 91);
    m_tapOrderEdit->setStyleSheet(FieldStyle);

    showAllInfo();
    connectEdits();
    m_upload = new SongUpload(this);
    connect(m_upload, &SongUpload::finished, this, &DialogSongInfo::showResult);
}

DialogSongInfo::~DialogSongInfo()
{
    delete ui;
}

QImageButton *DialogSongInfo::createButton(const QRect &geometry, const QString &normal,
                                           const QString &hover, const QString &toolTip)
{
    auto *button = new QImageButton(this, geometry, normal, hover);
    button->setToolTip(toolTip);
    return button;
}

// Only the user's edits reach the model: the views of the model's own changes are quiet.
void DialogSongInfo::connectEdits()
{
    const auto lineEdit = [this](QLineEdit *edit, SongModel::InfoField field) {
        connect(edit, &QLineEdit::textEdited, m_history,
                [this, field](const QString &text) { m_history->setInfo(field, text); });
    };
    lineEdit(ui->LEtitle, SongModel::Title);
    lineEdit(ui->LEartist, SongModel::Artist);
    lineEdit(ui->LEuser, SongModel::User);
    const auto textEdit = [this](QTextEdit *edit, SongModel::InfoField field) {
        connect(edit, &QTextEdit::textChanged, m_history,
                [this, edit, field] { m_history->setInfo(field, edit->toPlainText()); });
    };
    textEdit(ui->POLyrics, SongModel::Lyrics);
    textEdit(m_tapOrderEdit, SongModel::TapOrder);
    connect(m_song, &SongModel::infoChanged, this, &DialogSongInfo::showInfo);
    connect(m_song, &SongModel::songReplaced, this, &DialogSongInfo::showAllInfo);
}

void DialogSongInfo::showInfo(SongModel::InfoField field)
{
    const QString text = m_song->info(field);
    switch (field) {
    case SongModel::Title:
        return showText(ui->LEtitle, text);
    case SongModel::Artist:
        return showText(ui->LEartist, text);
    case SongModel::User:
        return showText(ui->LEuser, text);
    case SongModel::Lyrics:
        return showText(ui->POLyrics, text);
    case SongModel::TapOrder:
        return showText(m_tapOrderEdit, text);
    }
}

void DialogSongInfo::showAllInfo()
{
    for (int field = 0; field < SongModel::InfoFieldCount; ++field)
        showInfo(SongModel::InfoField(field));
}

bool DialogSongInfo::checkRequired()
{
    QString message;
    if (isBlank(m_song->info(SongModel::Title)))
        message += QStringLiteral("Title is empty.\n");
    if (isBlank(m_song->info(SongModel::User)))
        message += QStringLiteral("User is empty.\n");
    if (isBlank(m_song->info(SongModel::Artist)))
        message += QStringLiteral("Artist is empty.\n");
    if (message.isEmpty())
        return true;

    showToast(message);
    m_toast->exec();
    return false;
}

// Over the dialog; it fades out and hides itself.
void DialogSongInfo::showToast(const QString &message)
{
    if (!m_toast)
        m_toast = std::make_unique<QToast>();
    m_toast->reset();
    m_toast->start();
    // Plain: a server's answer may look like markup.
    m_toast->textBox()->setPlainText(message);
    // It has no parent to be placed by; show it over the dialog the user is looking at.
    m_toast->adjustSize();
    m_toast->move(frameGeometry().center() - m_toast->rect().center());
}

// The result arrives while the user may be doing something else: shown without waiting.
void DialogSongInfo::showResult(bool uploaded, const QString &result)
{
    showToast(result);
    m_toast->show();
    emit uploadFinished(uploaded, result);
}

// Only "Yes" uploads; Escape and closing the box count as "Cancel".
bool DialogSongInfo::confirmUpload()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Upload song"),
                    QStringLiteral("Do you really want to submit this song?"),
                    QMessageBox::NoButton, this);
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    const bool confirmed = box.clickedButton() == yes;
    qCDebug(lcUpload) << "ret:" << (confirmed ? 0 : 1);
    return confirmed;
}

void DialogSongInfo::onMousePressSubmit(QMouseEvent *, QWidget *)
{
    if (!checkRequired() || !confirmUpload())
        return;
    m_upload->submit(*m_song, m_writeSong);
    qCDebug(lcUpload) << "---------end:onMousePressSubmit";
}

void DialogSongInfo::onMousePressClose(QMouseEvent *, QWidget *)
{
    qCDebug(lcUpload) << "onMousePressClose";
    hide();
}

void DialogSongInfo::onMousePressRecord(QMouseEvent *, QWidget *)
{
    m_recording = !m_recording;
    if (m_recording)
        m_recordButton->showImages(RecordingImage, RecordingHoverImage);
    else
        m_recordButton->showImages(RecordImage, RecordHoverImage);
}

void DialogSongInfo::mousePressEvent(QMouseEvent *event)
{
    m_drag.press(this, event);
}

void DialogSongInfo::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(this, event);
}
