#pragma once

#include "sound/SoundInfo.h"

#include <QPoint>
#include <QString>

// One sound button as a song script carries it: its sound and the button's own values.
struct SongButton
{
    static constexpr int TextCount = 3;
    static constexpr int LabelText = 2;

    SoundInfo info;
    int scale = 100;
    int iconIndex = 0;
    double volPlay = 1.0;
    QString texts[TextCount];
    QPoint pos;
    // A "layout" record asks for a redraw with the label the texts held at that point.
    bool hasLayout = false;
    QString layoutLabel;
};
