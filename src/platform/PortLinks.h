#pragma once

#include <string>

// The links in KIVRA's ports/ folder that map a port number to a device: ports/COM9 leading
// to /dev/serial/by-id/usb-… makes port 9 that adapter.

// The number n of "COMn" or "\\.\COMn"; 0 when Name is neither.
unsigned ComPortNumber(const std::string &Name);

// ports/COM<Number> inside KivraConfigDir(), whether it exists or not.
std::string PortLinkPath(unsigned Number);

struct TPortLink
{
    enum TKind
    {
        Missing, // nothing of that name
        Link, // a symbolic link; Target is where it leads, TargetExists whether that is there
        NotALink // a regular file, a folder or anything else that is not a link
    };
    TKind Kind = Missing;
    std::string Path;
    std::string Target;
    bool TargetExists = false;
};

TPortLink InspectPortLink(unsigned Number);

// A pseudo terminal's device, as the simulated analyzer publishes.
bool IsPseudoTerminal(const std::string &Device);

// Whether links can be made in the ports folder (or, before it exists, created there).
// Folder is the ports folder.
bool PortsFolderWritable(std::string &Folder);

// Makes ports/COM<Number> a link to Target, replacing a link of that name in one step.
// Never replaces anything that is not a link. False with the system's reason in Error.
bool MakePortLink(unsigned Number, const std::string &Target, std::string &Error);
