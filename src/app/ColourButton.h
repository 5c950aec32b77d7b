#pragma once

#include <QPalette>
#include <QPushButton>
#include <QRgb>

#include <utility>
#include <vector>

// A push button whose caption changes colour often, such as the measure button at the start
// and the end of every sweep. The style caches each button picture it draws under the
// identity of the palette, and a palette set anew is a new identity every time, so a plain
// button would add pictures to the cache at every change. This one paints with one kept
// palette per colour it has shown.
class TColourButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    void SetTextColour(const QColor &Colour);

protected:
    void paintEvent(QPaintEvent *Event) override;

private:
    std::vector<std::pair<QRgb, QPalette>> FPalettes;
    int FCurrent = -1;
};
