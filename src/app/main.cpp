#include "platform/Paths.h"
#include "platform/QtColor.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Antenne analyzer"));
    TQtDialogs dialogs;
    TDialogsScope dialogsScope(dialogs);

    QLabel window(QStringLiteral("KIVRA\nSettings folder: ") + QStr(KivraConfigDir()));
    window.setWindowTitle(QApplication::applicationName());
    window.setMargin(20);
    window.show();
    return QApplication::exec();
}
