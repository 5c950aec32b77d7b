#pragma once

#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

// What a call left behind for the user: the message of the error it raised ("" when none)
// and the texts of the boxes it showed.

inline QString ErrorOf(const std::function<void()> &Action)
{
    try {
        Action();
    } catch (const EKivraError &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

inline QStringList Shown(const TScriptedDialogs &Dialogs)
{
    QStringList texts;
    for (const std::string &text : Dialogs.Texts())
        texts.append(QString::fromStdString(text));
    return texts;
}
