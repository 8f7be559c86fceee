#pragma once

#include <QImage>
#include <QPixmap>

// A yellow warning triangle with a black exclamation mark.
QPixmap warningPicture(int size = 48);
// The program's logo: a cow's ear tag with a thermometer line, in green.
QPixmap logoPicture(int size = 180);
// The program's icon: the ear tag and its trace on a clear background, for
// window title bars, the desktop's menus and the icon theme.
QImage appIconPicture(int size);
