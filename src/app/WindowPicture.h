#pragma once

#include <QImage>
#include <QString>

class TfrmMain;

// The picture of a measurement as the window shows it, for forum posts and logbooks: a
// caption line (range, Z0, point count, date), the Smith chart when it is shown, the graph
// with its scales and curves, and the readout rows. Scale 2 draws every widget at twice the
// size, a picture for high-density screens whatever the screen it is made on.
QImage WindowPicture(const TfrmMain &Window, int Scale, const QString &Date);

// The caption line of the picture.
QString PictureCaption(const TfrmMain &Window, const QString &Date);
