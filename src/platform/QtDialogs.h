#pragma once

#include "platform/Dialogs.h"

class QWidget;

// The dialog seam backed by the toolkit's message boxes and common dialogs.
class TQtDialogs : public TDialogs
{
public:
    explicit TQtDialogs(QWidget *Parent = nullptr)
        : ParentWidget(Parent)
    {
    }
    void SetParent(QWidget *Parent) { ParentWidget = Parent; }

    void ShowErrorBox(const std::string &Text, const std::string &Caption) override;
    void ShowMessage(const std::string &Text) override;
    void ShowMessageBox(const std::string &Text, const std::string &Caption) override;
    TAnswer AskYesNo(const std::string &Text, const std::string &Caption) override;
    std::string OpenFileName(const std::string &Caption, const std::string &Filter,
        const std::string &InitialDir) override;
    std::string SaveFileName(const std::string &Caption, const std::string &Filter,
        const std::string &InitialDir) override;
    bool PickColor(TColor Initial, TColor &Chosen) override;
    bool AskText(const std::string &Caption, const std::string &Prompt, const std::string &Initial,
        std::string &Answer) override;

private:
    QWidget *ParentWidget;
};
