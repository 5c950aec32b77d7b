#pragma once

#include "platform/Color.h"

#include <QString>

class QColor;
class QFrame;
class QLineEdit;
class QVBoxLayout;
class QWidget;

// Small helpers the main window's sources share for building and colouring their widgets.

// Caption colour of a control (label, box, button and edit text alike), optionally bold.
void SetFontColour(QWidget *Widget, const QColor &Colour, bool Bold);
TColor FontColour(const QWidget *Widget);

QFrame *MakePanel(QWidget *Parent, const char *Name);
// A vertical stack filling Panel, with even margins.
QVBoxLayout *MakeStack(QWidget *Panel, int Margin, int Spacing);

template <typename T> T *Named(T *Widget, const char *Name)
{
    Widget->setObjectName(QString::fromLatin1(Name));
    return Widget;
}

// Number in an edit field: empty counts as 0, anything else must be a number.
bool FieldNumber(const QLineEdit *Field, double &Value);
