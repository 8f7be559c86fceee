#pragma once

#include <QPixmap>

// A yellow warning triangle with a black exclamation mark.
QPixmap warningPicture(int size = 48);
// The program's logo: a cow's ear tag with a thermometer line, in green.
QPixmap logoPicture(int size = 180);
