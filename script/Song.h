#pragma once

#include "script/SongButton.h"

#include <QList>
#include <QString>
#include <optional>

// A whole song as a song script holds it, free of any widget. Reading leaves a song field
// unset when the file has no record for it, so the dialog keeps what it showed.
struct Song
{
    // Arrangement values that the file records; others are not written.
    static constexpr int GridArrangement = 0;
    static constexpr int SecondArrangement = 1;

    std::optional<QString> title;
    std::optional<QString> artist;
    std::optional<QString> user;
    std::optional<QString> lyrics;
    std::optional<QString> tapOrder;
    // Beats per minute and beats per tap order entry; written only when set.
    std::optional<int> tempo;
    std::optional<int> beats;
    std::optional<int> alignType;
    int panelWidth = 0;
    int panelHeight = 0;
    QList<SongButton> buttons;
    // Button sections that found no room (reading stops storing at its limit).
    int leftOutButtons = 0;
};
