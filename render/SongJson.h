#pragma once

#include <QJsonObject>

class SongModel;

// The song as kavendra-render --info prints it: its information, tap order and timing, and
// every button with its cell, picture, label and sound.
class SongJson
{
public:
    static QJsonObject describe(const SongModel &song);

private:
    static QJsonObject button(const SongModel &song, int number);
};
