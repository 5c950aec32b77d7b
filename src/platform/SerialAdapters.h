#pragma once

#include <string>
#include <vector>

// A serial adapter the system knows of, as the user picks it for a port.
struct TSerialAdapter
{
    std::string Description;
    std::string Manufacturer;
    std::string SerialNumber;
    // The device node now (/dev/ttyUSB0) and the name that survives replugging
    // (/dev/serial/by-id/usb-…); the node itself where the system gives no such name.
    std::string Device;
    std::string StablePath;
};

// The adapters present, pseudo terminals left out.
std::vector<TSerialAdapter> ListSerialAdapters();

// The link in ByIdFolder that leads to Device; Device itself when none does.
std::string StableSerialPath(
    const std::string &Device, const std::string &ByIdFolder = "/dev/serial/by-id");

// One line for a list: description, manufacturer, serial number and the stable path.
std::string AdapterCaption(const TSerialAdapter &Adapter);
