#include "platform/Dialogs.h"

#include <cstdio>

namespace {

class TQuietDialogs : public TDialogs
{
public:
    void ShowErrorBox(const std::string &Text, const std::string &Caption) override
    {
        std::fprintf(
            stderr, "%s%s%s\n", Caption.c_str(), Caption.empty() ? "" : ": ", Text.c_str());
    }
    void ShowMessage(const std::string &Text) override
    {
        std::fprintf(stderr, "%s\n", Text.c_str());
    }
    void ShowMessageBox(const std::string &Text, const std::string &Caption) override
    {
        ShowErrorBox(Text, Caption);
    }
    TAnswer AskYesNo(const std::string &Text, const std::string &Caption) override
    {
        ShowErrorBox(Text, Caption);
        return TAnswer::No;
    }
    std::string OpenFileName(const std::string &, const std::string &, const std::string &) override
    {
        return {};
    }
    std::string SaveFileName(const std::string &, const std::string &, const std::string &) override
    {
        return {};
    }
    bool PickColor(TColor, TColor &) override { return false; }
    bool AskText(
        const std::string &, const std::string &, const std::string &, std::string &) override
    {
        return false;
    }
};

TQuietDialogs QuietDialogs;
TDialogs *Current = &QuietDialogs;

template <typename T> T TakeFront(std::vector<T> &Queue, T Fallback)
{
    if (Queue.empty())
        return Fallback;
    T v = Queue.front();
    Queue.erase(Queue.begin());
    return v;
}

} // namespace

TDialogs &Dialogs() { return *Current; }

TDialogsScope::TDialogsScope(TDialogs &Impl)
    : Previous(Current)
{
    Current = &Impl;
}

TDialogsScope::~TDialogsScope() { Current = Previous; }

void TScriptedDialogs::ShowErrorBox(const std::string &Text, const std::string &Caption)
{
    ShownList.push_back({ TKind::ErrorBox, Text, Caption });
}

void TScriptedDialogs::ShowMessage(const std::string &Text)
{
    ShownList.push_back({ TKind::Message, Text, {} });
}

void TScriptedDialogs::ShowMessageBox(const std::string &Text, const std::string &Caption)
{
    ShownList.push_back({ TKind::Message, Text, Caption });
}

TDialogs::TAnswer TScriptedDialogs::AskYesNo(const std::string &Text, const std::string &Caption)
{
    ShownList.push_back({ TKind::Question, Text, Caption });
    return TakeFront(Answers, TAnswer::No);
}

std::string TScriptedDialogs::OpenFileName(
    const std::string &Caption, const std::string &Filter, const std::string &InitialDir)
{
    ShownList.push_back({ TKind::OpenFile, Filter, Caption });
    Folder = InitialDir;
    return TakeFront(FileNames, std::string());
}

std::string TScriptedDialogs::SaveFileName(
    const std::string &Caption, const std::string &Filter, const std::string &InitialDir)
{
    ShownList.push_back({ TKind::SaveFile, Filter, Caption });
    Folder = InitialDir;
    return TakeFront(FileNames, std::string());
}

bool TScriptedDialogs::PickColor(TColor Initial, TColor &Chosen)
{
    ShownList.push_back({ TKind::Color, std::to_string(Initial), {} });
    if (Colors.empty())
        return false;
    Chosen = TakeFront(Colors, Initial);
    return true;
}

bool TScriptedDialogs::AskText(
    const std::string &Caption, const std::string &Prompt, const std::string &, std::string &Answer)
{
    ShownList.push_back({ TKind::Text, Prompt, Caption });
    if (TextAnswers.empty())
        return false;
    Answer = TakeFront(TextAnswers, std::string());
    return true;
}

std::vector<std::string> TScriptedDialogs::Texts() const
{
    std::vector<std::string> texts;
    for (const auto &s : ShownList)
        texts.push_back(s.Text);
    return texts;
}
