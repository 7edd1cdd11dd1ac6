#include "app/SelectedButton.h"

#include "history/SongHistory.h"
#include "model/CurrentSound.h"
#include "model/SongModel.h"

SelectedButton::SelectedButton(SongHistory *history, CurrentSound *sound, QObject *parent)
    : QObject(parent), m_history(history), m_song(history->song()), m_sound(sound)
{
    connect(sound, &CurrentSound::fretsChanged, this, &SelectedButton::storeFormSound);
    connect(sound, &CurrentSound::directionChanged, this, &SelectedButton::storeFormSound);
    connect(sound, &CurrentSound::timbreChanged, this, &SelectedButton::storeFormSound);
    connect(sound, &CurrentSound::valuesChanged, this, &SelectedButton::storeFormSound);
    connect(sound, &CurrentSound::soundReplaced, this, &SelectedButton::storeFormSound);
    connect(m_song, &SongModel::buttonChanged, this, &SelectedButton::showButtonSound);
}

void SelectedButton::select(int number)
{
    m_song->select(number);
    if (const SongModel::Button *button = m_song->button(number))
        m_sound->setSound(button->sound);
}

void SelectedButton::press(int number)
{
    select(number);
    m_sound->play();
}

void SelectedButton::deselect()
{
    m_song->select(0);
}

// Loading a button's sound into the form stores nothing: the two are equal then.
void SelectedButton::storeFormSound()
{
    if (m_song->selected())
        m_history->setSound(m_song->selected(), m_sound->sound());
}

void SelectedButton::showButtonSound(int number)
{
    const SongModel::Button *button = m_song->button(number);
    if (number == m_song->selected() && button->sound != m_sound->sound())
        m_sound->setSound(button->sound);
}
