#pragma once

#include "measure/ReplyLine.h"

#include <QByteArray>
#include <QString>

// Stored lines hold the received bytes one character per byte (Latin-1), so a line reads
// back byte for byte; anything outside Latin-1 becomes '?' and fails the field.
inline bool ReadLineField(const QString &Line, int FieldNo, double &Value)
{
    const QByteArray bytes = Line.toLatin1();
    return ReadLineField(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), FieldNo, Value);
}

inline bool ReadLineFields(const QString &Line, TLineFields &Fields)
{
    const QByteArray bytes = Line.toLatin1();
    return ReadLineFields(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), Fields);
}
