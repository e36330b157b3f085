#pragma once
#include <QPixmap>

// The program's own pictures, drawn rather than loaded: the picture of the
// welcome and About windows, the splash picture and the Tip of the Day's bulb.
QPixmap ProgramPicture(int width, int height);
QPixmap SplashPicture();
QPixmap TipBulbPicture();
