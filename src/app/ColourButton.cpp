#include "app/ColourButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void TColourButton::SetTextColour(const QColor &Colour)
{
    const QRgb Key = Colour.rgba();
    FCurrent = -1;
    for (std::size_t I = 0; I < FPalettes.size(); ++I)
        if (FPalettes[I].first == Key)
            FCurrent = static_cast<int>(I);
    if (FCurrent < 0) {
        QPalette Palette = palette();
        for (const QPalette::ColorRole Role :
            { QPalette::WindowText, QPalette::ButtonText, QPalette::Text })
            Palette.setColor(Role, Colour);
        FPalettes.emplace_back(Key, Palette);
        FCurrent = static_cast<int>(FPalettes.size()) - 1;
    }
    // The widget's own palette says the colour too, for whoever asks it.
    setPalette(FPalettes[static_cast<std::size_t>(FCurrent)].second);
}

void TColourButton::paintEvent(QPaintEvent *Event)
{
    if (FCurrent < 0) {
        QPushButton::paintEvent(Event);
        return;
    }
    QStylePainter Painter(this);
    QStyleOptionButton Option;
    initStyleOption(&Option);
    Option.palette = FPalettes[static_cast<std::size_t>(FCurrent)].second;
    Painter.drawControl(QStyle::CE_PushButton, Option);
}
