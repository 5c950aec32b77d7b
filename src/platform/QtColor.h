#pragma once

#include "platform/Color.h"

#include <QColor>
#include <QString>

#include <string>

inline QColor ToQColor(TColor Color) { return QColor(RedOf(Color), GreenOf(Color), BlueOf(Color)); }

inline TColor FromQColor(const QColor &Color)
{
    return RGBColor(Color.red(), Color.green(), Color.blue());
}

inline QString QStr(const std::string &Text) { return QString::fromStdString(Text); }
inline std::string StdStr(const QString &Text) { return Text.toStdString(); }
