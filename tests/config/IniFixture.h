#pragma once

#include "platform/Paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A fresh configuration folder for one test, inside the one ctest gives the program, so no
// test sees another's KIVRA.INI.
class TIniFolder
{
public:
    TIniFolder()
        : SavedXdg(qgetenv("XDG_CONFIG_HOME"))
        , Dir((SavedXdg.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(SavedXdg))
              + QStringLiteral("/cfg-XXXXXX"))
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir.path()));
    }
    ~TIniFolder() { qputenv("XDG_CONFIG_HOME", SavedXdg); }
    TIniFolder(const TIniFolder &) = delete;
    TIniFolder &operator=(const TIniFolder &) = delete;

    bool IsValid() const { return Dir.isValid(); }
    QString Path() const { return Dir.path(); }

private:
    QByteArray SavedXdg;
    QTemporaryDir Dir;
};

inline QString IniPath() { return QString::fromStdString(KivraIniPath()); }

inline void WriteRaw(const QByteArray &Bytes)
{
    QVERIFY(QDir().mkpath(QString::fromStdString(KivraConfigDir())));
    QFile File(IniPath());
    QVERIFY(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(File.write(Bytes), Bytes.size());
}

inline QByteArray ReadRaw()
{
    QFile File(IniPath());
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}
