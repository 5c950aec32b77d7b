#include "app/TfrmMain.h"
#include "platform/QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Antenne analyzer"));
    TQtDialogs dialogs;
    TDialogsScope dialogsScope(dialogs);

    TfrmMain window;
    dialogs.SetParent(&window);
    window.show();
    return QApplication::exec();
}
