// The adapter lists of the "Base" page: which serial adapter each port option leads to.
#include "config/TfrmCfg.h"
#include "platform/Dialogs.h"
#include "platform/Parse.h"
#include "platform/PortLinks.h"
#include "platform/QtColor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <system_error>

namespace {

// COM1 .. COM256, the ports the program can open.
constexpr int kMaxPortNumber = 256;

// The port number in Field, 0 when it is none the program can open.
unsigned PortNumber(const QLineEdit *Field)
{
    int Number = 0;
    if (!TryStrToInt(StdStr(Field->text()), Number) || Number < 1 || Number > kMaxPortNumber)
        return 0;
    return static_cast<unsigned>(Number);
}

// Where Path finally leads; empty when that is nowhere.
std::string Canonical(const std::string &Path)
{
    std::error_code Error;
    const std::string Result = std::filesystem::canonical(Path, Error).string();
    return Error ? std::string() : Result;
}

bool SameDevice(const std::string &A, const std::string &B)
{
    return A == B || (!Canonical(A).empty() && Canonical(A) == Canonical(B));
}

} // namespace

void TfrmCfg::ClearAdapterChoices()
{
    FAdapters.clear();
    for (QComboBox *List : { cbUsbComAdapter, cbCom3Adapter })
        List->clear();
    lbAdapters->clear();
}

void TfrmCfg::RefreshAdapters()
{
    ClearAdapterChoices();
    if (AdapterSource)
        FAdapters = AdapterSource();
    std::string Folder;
    const bool Writable = PortsFolderWritable(Folder);
    const std::pair<QComboBox *, QLineEdit *> Options[]
        = { { cbUsbComAdapter, edUsbCom }, { cbCom3Adapter, edCom3 } };
    for (const auto &[List, Field] : Options) {
        if (FAdapters.empty()) {
            List->addItem(QStringLiteral("No serial adapter found"));
            List->setEnabled(false);
            continue;
        }
        List->addItem(QStringLiteral("No change"));
        for (const TSerialAdapter &Adapter : FAdapters) {
            List->addItem(QStr(AdapterCaption(Adapter)));
            List->setItemData(List->count() - 1, QStr(AdapterCaption(Adapter)), Qt::ToolTipRole);
        }
        // The adapter this option's port already leads to, so that OK keeps it.
        const unsigned Number = PortNumber(Field);
        const TPortLink Link = Number != 0 ? InspectPortLink(Number) : TPortLink();
        if (Link.Kind == TPortLink::Link)
            for (std::size_t Index = 0; Index < FAdapters.size(); ++Index)
                if (Link.Target == FAdapters[Index].StablePath
                    || SameDevice(Link.Path, FAdapters[Index].Device))
                    List->setCurrentIndex(static_cast<int>(Index) + 1);
        List->setEnabled(Writable);
    }
    if (!Writable)
        lbAdapters->setText(QStringLiteral("The folder %1 is not writable: no adapter can be "
                                           "linked to a port.")
                                .arg(QStr(Folder)));
}

void TfrmCfg::ApplyAdapterChoices()
{
    ApplyAdapterChoice(cbUsbComAdapter, edUsbCom);
    ApplyAdapterChoice(cbCom3Adapter, edCom3);
}

void TfrmCfg::ApplyAdapterChoice(QComboBox *Adapter, QLineEdit *PortField)
{
    const int Chosen = Adapter->currentIndex() - 1;
    if (!Adapter->isEnabled() || Chosen < 0 || Chosen >= static_cast<int>(FAdapters.size()))
        return;
    const std::string Target = FAdapters[static_cast<std::size_t>(Chosen)].StablePath;
    const unsigned Number = PortNumber(PortField);
    if (Number == 0) {
        Dialogs().ShowMessage("The port number \"" + StdStr(PortField->text())
            + "\" is not a number from 1 to 256: no adapter was linked to it.");
        return;
    }
    const TPortLink Link = InspectPortLink(Number);
    if (Link.Kind == TPortLink::NotALink) {
        Dialogs().ShowMessage(Link.Path + " is not a link: it was left untouched, and port COM"
            + std::to_string(Number) + " still opens through it.");
        return;
    }
    if (Link.Kind == TPortLink::Link) {
        if (Link.Target == Target)
            return;
        if (Link.TargetExists && IsPseudoTerminal(Canonical(Link.Path))) {
            Dialogs().ShowMessage(Link.Path + " leads to the simulated analyzer (" + Link.Target
                + "): it was left as it is.");
            return;
        }
        if (Dialogs().AskYesNo(Link.Path + " leads to " + Link.Target
                    + ".\nReplace it by a link to " + Target + "?",
                "Configuration")
            != TDialogs::TAnswer::Yes)
            return;
    }
    std::string Error;
    if (!MakePortLink(Number, Target, Error))
        Dialogs().ShowMessage("Could not link " + Link.Path + " to " + Target + ": " + Error);
}
