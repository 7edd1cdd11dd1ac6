#pragma once

#include "script/Song.h"

#include <QString>

class ButtonIconTable;
class DialogSongInfo;
class QButtonPanel;
class QSaveFile;

// Loads a song script into the button panel and the song info dialog, or saves them as one.
// Made for one load or save. Messages for the user go through inform() and warn(), which
// tests override.
class SongScript
{
public:
    // The panel's grid; reading stores no more button sections than this.
    static constexpr int PanelCapacity = 45;

    SongScript(QButtonPanel *panel, ButtonIconTable *iconTable, DialogSongInfo *songInfo);
    virtual ~SongScript() = default;
    SongScript(const SongScript &) = delete;
    SongScript &operator=(const SongScript &) = delete;

    // Appends the file's buttons to the panel and fills the dialog; returns the buttons added.
    int load(const QString &fileName);
    // Replaces the file atomically; false, reported through warn(), when it cannot be written.
    bool save(const QString &fileName, QButtonPanel *panel);

protected:
    virtual void inform(const QString &text);
    virtual void warn(const QString &text);

private:
    static bool writeAll(QSaveFile &file, const QByteArray &bytes, QString &reason);
    Song collect(QButtonPanel *panel) const;
    int apply(const Song &song);
    void applySongInfo(const Song &song);

    QButtonPanel *m_panel;
    ButtonIconTable *m_iconTable;
    DialogSongInfo *m_songInfo;
    int m_panelWidth;
    int m_panelHeight;
};
