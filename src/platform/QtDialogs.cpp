#include "platform/QtDialogs.h"

#include "platform/QtColor.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

void TQtDialogs::ShowErrorBox(const std::string &Text, const std::string &Caption)
{
    QMessageBox box(QMessageBox::Critical,
        Caption.empty() ? QApplication::applicationName() : QStr(Caption), QStr(Text),
        QMessageBox::Ok, ParentWidget);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void TQtDialogs::ShowMessage(const std::string &Text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), QStr(Text),
        QMessageBox::Ok, ParentWidget);
    box.exec();
}

void TQtDialogs::ShowMessageBox(const std::string &Text, const std::string &Caption)
{
    QMessageBox box(QMessageBox::NoIcon, QStr(Caption), QStr(Text), QMessageBox::Ok);
    box.exec();
}

TDialogs::TAnswer TQtDialogs::AskYesNo(const std::string &Text, const std::string &Caption)
{
    QMessageBox box(QMessageBox::Question, QStr(Caption), QStr(Text),
        QMessageBox::Yes | QMessageBox::No, ParentWidget);
    return box.exec() == QMessageBox::Yes ? TAnswer::Yes : TAnswer::No;
}

std::string TQtDialogs::OpenFileName(
    const std::string &Caption, const std::string &Filter, const std::string &InitialDir)
{
    return StdStr(
        QFileDialog::getOpenFileName(ParentWidget, QStr(Caption), QStr(InitialDir), QStr(Filter)));
}

std::string TQtDialogs::SaveFileName(
    const std::string &Caption, const std::string &Filter, const std::string &InitialDir)
{
    return StdStr(QFileDialog::getSaveFileName(ParentWidget, QStr(Caption), QStr(InitialDir),
        QStr(Filter), nullptr, QFileDialog::DontConfirmOverwrite));
}

bool TQtDialogs::AskText(const std::string &Caption, const std::string &Prompt,
    const std::string &Initial, std::string &Answer)
{
    bool Confirmed = false;
    const QString Text = QInputDialog::getText(
        ParentWidget, QStr(Caption), QStr(Prompt), QLineEdit::Normal, QStr(Initial), &Confirmed);
    if (Confirmed)
        Answer = StdStr(Text);
    return Confirmed;
}

bool TQtDialogs::PickColor(TColor Initial, TColor &Chosen)
{
    const QColor c = QColorDialog::getColor(ToQColor(Initial), ParentWidget);
    if (!c.isValid())
        return false;
    Chosen = FromQColor(c);
    return true;
}
