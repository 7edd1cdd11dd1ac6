#include "upload/DialogSongInfo.h"

#include "app/MainWindow.h"
#include "upload/Log.h"
#include "widgets/QImageButton.h"
#include "widgets/QNumericTextEdit.h"

#include "ui_DialogSongInfo.h"

#include <QMouseEvent>
#include <QPixmap>
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
} // namespace

DialogSongInfo::DialogSongInfo(MainWindow *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::DialogSongInfo)
{
    ui->setupUi(this);
    setFixedSize(297, 542);

    m_closeButton = createButton(QStringLiteral(":/img/bt_close.png"),
                                 QStringLiteral(":/img/bt_close_hover.png"),
                                 QRect(180, 500, 68, 25), QStringLiteral("close web dialog"));
    connect(m_closeButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressClose);
    m_recordButton = createButton(RecordImage, RecordHoverImage, QRect(230, 160, 68, 25),
                                  QStringLiteral("record tap order when play button"));
    connect(m_recordButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressRecord);

    ui->POLyrics->setStyleSheet(FieldStyle);
    ui->LEartist->setStyleSheet(FieldStyle);
    ui->LEuser->setStyleSheet(FieldStyle);
    ui->LEtitle->setStyleSheet(TitleStyle);

    m_tapOrderEdit = new QNumericTextEdit();
    m_tapOrderEdit->setParent(this);
    m_tapOrderEdit->setGeometry(47, 200, 211, 91);
    m_tapOrderEdit->setStyleSheet(FieldStyle);

    m_recording = false;
    m_mainWindow = parent;
    connectChangeSignals();
}

DialogSongInfo::~DialogSongInfo()
{
    delete ui;
}

QImageButton *DialogSongInfo::createButton(const QString &normal, const QString &hover,
                                           const QRect &geometry, const QString &toolTip)
{
    auto *button = new QImageButton();
    button->setParent(this);
    button->setPixmap(QPixmap(normal));
    button->setImages(normal, hover);
    button->setGeometry(geometry);
    button->setToolTip(toolTip);
    return button;
}

// Only edits by the user and recorded taps reach songInfoChanged: the setters block them.
void DialogSongInfo::connectChangeSignals()
{
    connect(ui->LEtitle, &QLineEdit::textEdited, this, &DialogSongInfo::songInfoChanged);
    connect(ui->LEartist, &QLineEdit::textEdited, this, &DialogSongInfo::songInfoChanged);
    connect(ui->LEuser, &QLineEdit::textEdited, this, &DialogSongInfo::songInfoChanged);
    connect(ui->POLyrics, &QTextEdit::textChanged, this, &DialogSongInfo::songInfoChanged);
    connect(m_tapOrderEdit, &QTextEdit::textChanged, this, &DialogSongInfo::songInfoChanged);
}

void DialogSongInfo::recordTap(int number)
{
    const QString entry = QString::number(number - 1);
    const QString order = m_tapOrderEdit->toPlainText();
    m_tapOrderEdit->setPlainText(order.isEmpty() ? entry : order + QLatin1Char(',') + entry);
}

QString DialogSongInfo::title() const
{
    return ui->LEtitle->text();
}

QString DialogSongInfo::artist() const
{
    return ui->LEartist->text();
}

QString DialogSongInfo::user() const
{
    return ui->LEuser->text();
}

QString DialogSongInfo::lyrics() const
{
    return ui->POLyrics->toPlainText();
}

QString DialogSongInfo::tapOrder() const
{
    return m_tapOrderEdit->toPlainText();
}

void DialogSongInfo::setTitle(const QString &text)
{
    ui->LEtitle->setText(text);
}

void DialogSongInfo::setArtist(const QString &text)
{
    ui->LEartist->setText(text);
}

void DialogSongInfo::setUser(const QString &text)
{
    ui->LEuser->setText(text);
}

void DialogSongInfo::setLyrics(const QString &text)
{
    const QSignalBlocker blocker(ui->POLyrics);
    ui->POLyrics->setPlainText(text);
}

void DialogSongInfo::setTapOrder(const QString &text)
{
    const QSignalBlocker blocker(m_tapOrderEdit);
    m_tapOrderEdit->setPlainText(text);
}

void DialogSongInfo::onMousePressSubmit(QMouseEvent *, QWidget *) {}

void DialogSongInfo::onMousePressClose(QMouseEvent *, QWidget *)
{
    qCDebug(lcUpload) << "onMousePressClose";
    hide();
}

void DialogSongInfo::onMousePressRecord(QMouseEvent *, QWidget *)
{
    m_recording = !m_recording;
    const QString &normal = m_recording ? RecordingImage : RecordImage;
    const QString &hover = m_recording ? RecordingHoverImage : RecordHoverImage;
    m_recordButton->setPixmap(QPixmap(normal));
    m_recordButton->setImages(normal, hover);
}

void DialogSongInfo::replyFinished() {}

void DialogSongInfo::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragPosition = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void DialogSongInfo::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    move(event->globalPosition().toPoint() - m_dragPosition);
    event->accept();
}
