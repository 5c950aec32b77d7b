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
    // A reply line is a few dozen characters: converted on the stack, as toLatin1 would.
    constexpr qsizetype kShort = 64;
    if (Line.size() <= kShort) {
        char bytes[kShort];
        const QChar *chars = Line.constData();
        for (qsizetype i = 0; i < Line.size(); ++i) {
            const char16_t u = chars[i].unicode();
            bytes[i] = u < 0x100 ? static_cast<char>(u) : '?';
        }
        return ReadLineFields(std::string_view(bytes, static_cast<size_t>(Line.size())), Fields);
    }
    const QByteArray bytes = Line.toLatin1();
    return ReadLineFields(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), Fields);
}
