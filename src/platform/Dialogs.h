#pragma once

#include "platform/Color.h"

#include <memory>
#include <string>
#include <vector>

// The one way the program talks to the user through modal boxes and the common dialogs.
// Lower layers call Dialogs(); the application installs the toolkit's implementation and
// tests install TScriptedDialogs, so no test ever waits on a box that nobody can see.
// Texts are UTF-8.
class TDialogs
{
public:
    enum class TAnswer
    {
        Yes,
        No
    };

    virtual ~TDialogs() = default;

    // Modal error box, one OK button, kept on top; an empty caption leaves the default.
    virtual void ShowErrorBox(const std::string &Text, const std::string &Caption) = 0;
    // The simple message box: one text, OK.
    virtual void ShowMessage(const std::string &Text) = 0;
    // A message box with its own caption, one OK button and no owner window.
    virtual void ShowMessageBox(const std::string &Text, const std::string &Caption) = 0;
    // A Yes/No question with a caption.
    virtual TAnswer AskYesNo(const std::string &Text, const std::string &Caption) = 0;
    // Common file dialogs; Filter in the toolkit's "Text (*.txt);;All (*)" form. An empty
    // result means the user cancelled. The save dialog never asks about an existing file:
    // its callers ask themselves, with their own words.
    virtual std::string OpenFileName(
        const std::string &Caption, const std::string &Filter, const std::string &InitialDir)
        = 0;
    virtual std::string SaveFileName(
        const std::string &Caption, const std::string &Filter, const std::string &InitialDir)
        = 0;
    // Colour dialog starting at Initial; false when cancelled.
    virtual bool PickColor(TColor Initial, TColor &Chosen) = 0;
    // One line of text asked for under Prompt, starting as Initial; false when cancelled.
    virtual bool AskText(const std::string &Caption, const std::string &Prompt,
        const std::string &Initial, std::string &Answer)
        = 0;
};

// The installed implementation; without one, a quiet fallback that only writes to stderr
// and answers No / cancel.
TDialogs &Dialogs();

// Installs Impl for the lifetime of the scope and puts the previous one back afterwards.
class TDialogsScope
{
public:
    explicit TDialogsScope(TDialogs &Impl);
    ~TDialogsScope();
    TDialogsScope(const TDialogsScope &) = delete;
    TDialogsScope &operator=(const TDialogsScope &) = delete;

private:
    TDialogs *Previous;
};

// Records every box and dialog and returns the answers a test has queued.
class TScriptedDialogs : public TDialogs
{
public:
    enum class TKind
    {
        ErrorBox,
        Message,
        Question,
        OpenFile,
        SaveFile,
        Color,
        Text
    };
    struct TShown
    {
        TKind Kind;
        std::string Text;
        std::string Caption;
    };

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

    // Queued answers are used in order; when the queue is empty the answer is No, an empty
    // file name or a cancelled colour dialog.
    void QueueAnswer(TAnswer Answer) { Answers.push_back(Answer); }
    void QueueFileName(const std::string &Name) { FileNames.push_back(Name); }
    void QueueColor(TColor Color) { Colors.push_back(Color); }
    // A text question with nothing queued is cancelled.
    void QueueText(const std::string &Text) { TextAnswers.push_back(Text); }

    const std::vector<TShown> &Shown() const { return ShownList; }
    // Texts of the boxes shown so far, in order (all kinds).
    std::vector<std::string> Texts() const;
    void ClearShown() { ShownList.clear(); }
    // The folder the last file dialog was asked to start in.
    const std::string &LastFolder() const { return Folder; }

private:
    std::vector<TShown> ShownList;
    std::vector<TAnswer> Answers;
    std::vector<std::string> FileNames;
    std::vector<TColor> Colors;
    std::vector<std::string> TextAnswers;
    std::string Folder;
};
