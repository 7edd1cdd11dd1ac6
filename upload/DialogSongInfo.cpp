#include "upload/DialogSongInfo.h"

#include "app/MainWindow.h"
#include "upload/FormPostPlugin.h"
#include "upload/Log.h"
#include "widgets/Picture.h"
#include "widgets/QImageButton.h"
#include "widgets/QNumericTextEdit.h"
#include "widgets/QToast.h"

#include "ui_DialogSongInfo.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QNetworkReply>
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

const QString DefaultUploadUrl = QStringLiteral("http://127.0.0.1:8080/songs/upload.php");
const char *const UploadUrlVariable = "KAVENDRA_UPLOAD_URL";
const QString UploadUserAgent = QStringLiteral("Apache-HttpClient/UNAVAILABLE (java 1.4)");
const QString UploadContentType = QStringLiteral("multipart/form-data");
const QString ScriptSuffix = QStringLiteral(".kds");

// Blanks alone do not fill a required entry; tabs and other white space do.
bool isBlank(const QString &text)
{
    return QString(text).remove(QLatin1Char(' ')).isEmpty();
}

// A double quote would end the file name early in the upload's part header, unescaped there.
bool isUnsafeInFileName(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('/') || c == QLatin1Char('\\') ||
           c == QLatin1Char('"') || c.category() == QChar::Other_Control;
}
} // namespace

DialogSongInfo::DialogSongInfo(MainWindow *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::DialogSongInfo)
{
    ui->setupUi(this);
    setFixedSize(297, 542);

    m_submitButton = createButton(QStringLiteral(":/img/bt_submit.png"),
                                  QStringLiteral(":/img/bt_submit_hover.png"),
                                  QRect(50, 500, 68, 25), QStringLiteral("submit song"));
    connect(m_submitButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressSubmit);
    m_closeButton = createButton(QStringLiteral(":/img/bt_close.png"),
                                 QStringLiteral(":/img/bt_close_hover.png"),
                                 QRect(180, 500, 68, 25), QStringLiteral("close web dialog"));
    connect(m_closeButton, &QImageButton::mousePress, this, &DialogSongInfo::onMousePressClose);
    m_recordButton = createButton(RecordImage, RecordHoverImage, QRect(190, 160, 68, 25),
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

    m_uploadUrl = qEnvironmentVariable(UploadUrlVariable);
    if (m_uploadUrl.isEmpty())
        m_uploadUrl = DefaultUploadUrl;
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
    button->setPixmap(Picture::load(normal));
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

QString DialogSongInfo::uploadBaseName(const QString &title)
{
    QString name = title;
    for (QChar &c : name) {
        if (isUnsafeInFileName(c))
            c = QLatin1Char('_');
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("_");
    return name;
}

bool DialogSongInfo::checkRequired()
{
    QString message;
    if (isBlank(title()))
        message += QStringLiteral("Title is empty.\n");
    if (isBlank(user()))
        message += QStringLiteral("User is empty.\n");
    if (isBlank(artist()))
        message += QStringLiteral("Artist is empty.\n");
    if (message.isEmpty())
        return true;

    if (!m_toast)
        m_toast = std::make_unique<QToast>();
    m_toast->reset();
    m_toast->start();
    m_toast->setText(message);
    // It has no parent to be placed by; show it over the dialog the user is looking at.
    m_toast->adjustSize();
    m_toast->move(frameGeometry().center() - m_toast->rect().center());
    m_toast->exec();
    return false;
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

    // Each upload has its own poster; it is released when its reply has finished.
    auto *poster = new FormPostPlugin();
    poster->setUserAgent(UploadUserAgent);

    const QString baseName = uploadBaseName(title());
    const QString path = QDir(QDir::tempPath()).filePath(baseName + ScriptSuffix);
    // A save that fails must not leave an older song of the same name to be sent.
    QFile::remove(path);
    m_mainWindow->saveScriptToFile(path);
    if (QFile::exists(path)) {
        qCDebug(lcUpload) << "exist:onMousePressSubmit-----------";
        poster->addFile(QStringLiteral("upfile"), path, UploadContentType);
        poster->addFile(QStringLiteral("sifile"), path, UploadContentType);
    }
    poster->addField(QStringLiteral("artist"), artist());
    poster->addField(QStringLiteral("user"), user());
    poster->addField(QStringLiteral("title"), title());
    poster->addField(QStringLiteral("file"), baseName);
    poster->addField(QStringLiteral("text"), lyrics());

    QNetworkReply *reply = poster->post(m_uploadUrl);
    connect(reply, &QNetworkReply::finished, this, &DialogSongInfo::replyFinished);
    // An upload still under way when the dialog goes is dropped with it, unreported.
    connect(this, &QObject::destroyed, poster, [poster, reply] {
        reply->disconnect();
        delete poster;
    });
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
    const QString &normal = m_recording ? RecordingImage : RecordImage;
    const QString &hover = m_recording ? RecordingHoverImage : RecordHoverImage;
    m_recordButton->setPixmap(Picture::load(normal));
    m_recordButton->setImages(normal, hover);
}

void DialogSongInfo::replyFinished()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply)
        return;
    // Every post has its own network access manager, a child of its poster.
    auto *poster = qobject_cast<FormPostPlugin *>(reply->manager()->parent());
    const QByteArray answer = poster ? poster->response() : QByteArray();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError)
        qCWarning(lcUpload).noquote()
            << "upload to" << m_uploadUrl << "failed:" << reply->errorString();
    qCDebug(lcUpload).noquote() << "upload status" << status
                                << "answer:" << QString::fromUtf8(answer);
    emit uploadFinished(answer);
    if (poster)
        poster->deleteLater();
}

void DialogSongInfo::mousePressEvent(QMouseEvent *event)
{
    m_drag.press(this, event);
}

void DialogSongInfo::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.move(this, event);
}
