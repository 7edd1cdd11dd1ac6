#pragma once

#include "widgets/QMouseLabel.h"

// A stroke lamp: an unlit lamp picture that reports itself when pressed.
class QNoteLamp : public QMouseLabel
{
    Q_OBJECT

public:
    explicit QNoteLamp(QWidget *parent = nullptr);
};
